#pragma once

#include <functional>
#include <string>

#include "core/pages/printer_page.h"
#include "ui/page_view.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace rvq::ui {

struct UiServices;
class MultiLanBox;
class NumberEdit;

// The first page: printer model, destination and connection. It edits a
// working copy that reaches the tool settings only through StoreValues.
class PrinterSettingPage : public PageView {
    Q_OBJECT
public:
    PrinterSettingPage(UiServices& services, QWidget* parent = nullptr);

    // Tool settings -> working copy -> controls; also looks for the USB printer.
    void LoadPrinterSettings();
    // Working copy -> tool settings (CommitPrinterSettings).
    void StoreValues() override;
    // While a job's worker is alive the model and the connection stay as they are.
    void SetJobRunning(bool running);

    const PrinterPageValues& values() const { return values_; }
    std::string headerText() const;

    // What the page tells the main window.
    std::function<void(const std::string& headerText)> onHeaderChanged;
    std::function<void(const PageResets& resets)> onResetPages;
    std::function<void(bool multiLan)> onMultiLanMode;

    QComboBox* modelCombo() const { return model_; }
    QComboBox* destinationCombo() const { return destination_; }
    QComboBox* interfaceCombo() const { return interface_; }
    QComboBox* baudCombo() const { return baud_; }
    NumberEdit* comPortEdit() const { return comPort_; }
    QLineEdit* lanHostEdit() const { return lanHost_; }
    NumberEdit* lanPortEdit() const { return lanPort_; }
    QCheckBox* serialCheck() const { return useSerial_; }
    QLineEdit* serialEdit() const { return serial_; }
    MultiLanBox* multiLanBox() const { return multiLan_; }

private:
    QWidget* BuildSerialPanel();
    QWidget* BuildLanPanel();
    QWidget* BuildUsbPanel();
    void FillDestinations();
    void ReadControls();
    void ShowInterfaceControls();
    void UpdateHeader();
    void LocateUsb();
    void OnModelChosen();
    void OnDestinationChosen();
    void OnInterfaceChosen();
    void OnSerialCheck();

    UiServices& services_;
    PrinterPageValues values_;
    QComboBox* model_;
    QComboBox* destination_;
    QComboBox* interface_;
    QStackedWidget* panels_;
    NumberEdit* comPort_;
    QComboBox* baud_;
    QComboBox* dataLength_;
    QComboBox* parity_;
    QComboBox* stopBit_;
    QLineEdit* lanHost_;
    NumberEdit* lanPort_;
    MultiLanBox* multiLan_;
    QCheckBox* useSerial_;
    QLineEdit* serial_;
};

}  // namespace rvq::ui
