#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "core/comm/port/multi_lan_list.h"
#include "core/comm/port/status_query.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace rvq::ui {

struct UiServices;
class NumberEdit;
class StatusCheck;

// The Multi-LAN part of the printer setting page: the printer list, the
// host and port of a new entry, Add, Delete, Import... and Export..., and
// Check Status, which asks every printer of the list for its status and
// shows each answer in the list's status column.
class MultiLanBox : public QWidget {
    Q_OBJECT
public:
    MultiLanBox(UiServices& services, QWidget* parent = nullptr);
    ~MultiLanBox() override;

    void SetPrinters(const std::vector<LanPrinter>& printers);
    const std::vector<LanPrinter>& printers() const { return printers_; }

    QTableWidget* table() const { return table_; }
    QLineEdit* hostEdit() const { return host_; }
    NumberEdit* portEdit() const { return port_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* checkButton() const { return check_; }
    bool checking() const;

    static constexpr int kStatusColumn = 3;

signals:
    // The list changed (the header shows its length).
    void listChanged();
    // A status check ended (all asked, or stopped).
    void statusCheckFinished();

private:
    void Refill(int selected);
    int Selected() const;
    void OnSelectionChanged();
    void OnAdd();
    void OnDelete();
    void OnImport();
    void OnExport();
    void OnCheck();
    void OnAnswer(int index, const StatusAnswer& answer);
    void OnCheckDone();
    void ShowStatus(int row);
    void ForgetStatuses();
    void UpdateButtons();

    UiServices& services_;
    std::vector<LanPrinter> printers_;
    // Per entry: the last answer; nothing while not asked yet.
    std::vector<std::optional<StatusAnswer>> statuses_;
    int queryTimeoutMs_ = 0;  // the wait of the last check, for its texts
    // Answers of a check started for another list than the one shown are dropped.
    int listGeneration_ = 0;
    int checkedGeneration_ = -1;
    QTableWidget* table_;
    QLineEdit* host_;
    NumberEdit* port_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* import_;
    QPushButton* export_;
    QPushButton* check_;
    StatusCheck* statusCheck_;
};

}  // namespace rvq::ui
