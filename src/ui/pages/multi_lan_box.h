#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "core/comm/multi_lan_list.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace rvq::ui {

struct UiServices;
class NumberEdit;

// The Multi-LAN part of the printer setting page: the printer list, the
// host and port of a new entry, and Add, Delete, Import... and Export....
class MultiLanBox : public QWidget {
    Q_OBJECT
public:
    MultiLanBox(UiServices& services, QWidget* parent = nullptr);

    void SetPrinters(const std::vector<LanPrinter>& printers);
    const std::vector<LanPrinter>& printers() const { return printers_; }

    QTableWidget* table() const { return table_; }
    QLineEdit* hostEdit() const { return host_; }
    NumberEdit* portEdit() const { return port_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }

signals:
    // The list changed (the header shows its length).
    void listChanged();

private:
    void Refill(int selected);
    int Selected() const;
    void OnSelectionChanged();
    void OnAdd();
    void OnDelete();
    void OnImport();
    void OnExport();
    void UpdateButtons();

    UiServices& services_;
    std::vector<LanPrinter> printers_;
    QTableWidget* table_;
    QLineEdit* host_;
    NumberEdit* port_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* import_;
    QPushButton* export_;
};

}  // namespace rvq::ui
