#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "core/comm/port/multi_lan_list.h"

class QPushButton;
class QTableWidget;

namespace rvq {
class Strings;
}

namespace rvq::ui {

// Picks the printers of a Multi-LAN run; every printer starts ticked and
// OK needs at least one.
class MLanSelectDialog : public QDialog {
    Q_OBJECT
public:
    MLanSelectDialog(const Strings& strings, const std::vector<LanPrinter>& printers,
                     QWidget* parent = nullptr);

    // One flag per printer: ticked or not.
    std::vector<bool> selection() const;
    QTableWidget* table() const { return table_; }
    QPushButton* okButton() const { return ok_; }

private:
    void UpdateOk();

    QTableWidget* table_;
    QPushButton* ok_;
};

}  // namespace rvq::ui

namespace rvq::ui {

// Shows the selection dialog; the ticked printers, or nothing on Cancel.
std::optional<std::vector<bool>> PickPrintersWithDialog(const Strings& strings, QWidget* parent,
                                                        const std::vector<LanPrinter>& printers);

}  // namespace rvq::ui
