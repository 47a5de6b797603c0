#pragma once

#include <string>

#include "core/builders/rom_list.h"
#include "core/comm/port/interface_kind.h"
#include "ui/page_view.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace rvq::ui {

struct UiServices;

// Firmware Download: a list of ROM files, at most one per section of the
// printer's flash, sent in section order by one download job.
class FirmwarePage : public PageView {
    Q_OBJECT
public:
    FirmwarePage(UiServices& services, QWidget* parent = nullptr);

    // What Add does with the chosen file: read its trailer, check it and
    // list it in its section's place.
    void AddFile(const std::string& path);
    // Empties the list and the details (model change, reset of all pages).
    void ClearRomList();
    // Shows the Download Mode box as the setting and the interface allow.
    void UpdateDownloadModeBox(const InterfaceName& interfaceName);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;

    const RomList& romList() const { return list_; }
    QTreeWidget* listView() const { return view_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QCheckBox* downloadModeBox() const { return downloadMode_; }
    QPushButton* startButton() const { return start_; }
    QLineEdit* fileNameEdit() const { return fileName_; }
    QPlainTextEdit* labelsEdit() const { return labels_; }
    QPlainTextEdit* valuesEdit() const { return values_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnAdd();
    void OnDelete();
    void OnStart();
    void OnSelectionChanged();
    void FillList(int selectRow);
    void ShowDetails(int row);
    void BlankDetails();

    UiServices& services_;
    RomList list_;
    QTreeWidget* view_;
    QPushButton* add_;
    QPushButton* delete_;
    QCheckBox* downloadMode_;
    QPushButton* start_;
    QLineEdit* fileName_;
    QPlainTextEdit* labels_;
    QPlainTextEdit* values_;
};

}  // namespace rvq::ui
