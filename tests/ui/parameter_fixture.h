#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/app/printer_model.h"
#include "ui/pages/parameter_page.h"
#include "ui_fixture.h"

namespace rvq::test {

constexpr int kParameterPageCount = 7;

// The seven parameter pages over the fixture's model, as the main window
// builds them. `prepare` may change the model before the pages are laid out.
struct Pages {
    UiFixture f;
    ui::ParameterPageSet set;
    std::vector<std::unique_ptr<ui::ParameterPage>> pages;

    explicit Pages(const std::function<void(PrinterModel&)>& prepare = {}) {
        if (prepare) prepare(*f.document.model());
        for (int i = 0; i < kParameterPageCount; ++i)
            pages.push_back(std::make_unique<ui::ParameterPage>(f.services, set, i));
    }
    ui::ParameterPage& page(int index) { return *pages[static_cast<std::size_t>(index)]; }
    ParamItem& item(const char* name) { return *FindItem(*f.document.model(), name); }
    ParamItem& itemOf(int ctrlId) {
        for (ParamItem& i : f.document.model()->items)
            if (i.ctrlId == ctrlId) return i;
        qFatal("no item for control %d", ctrlId);
    }
    // The page holding the control.
    ui::ParameterPage& pageOf(int ctrlId) { return page(itemOf(ctrlId).pageIndex); }
    QWidget* control(int ctrlId) { return pageOf(ctrlId).control(ctrlId); }
    QComboBox* combo(int ctrlId) { return qobject_cast<QComboBox*>(control(ctrlId)); }
    void tick(int pageIndex, int checkBoxId) {
        QCheckBox* check = page(pageIndex).groupCheck(checkBoxId);
        if (!check->isChecked()) check->click();
    }
};

inline QLineEdit* EditOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit;
    return control ? control->findChild<QLineEdit*>() : nullptr;
}

// Types into a field and leaves it.
inline QString TypeAndLeave(QLineEdit* edit, const QString& keys) {
    edit->clear();
    QTest::keyClicks(edit, keys);
    QTest::keyClick(edit, Qt::Key_Return);
    return edit->text();
}

// The focus arriving at and leaving a field, as a click elsewhere does.
inline void FocusIn(QWidget* widget) {
    QFocusEvent event(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(widget, &event);
}
inline void FocusOut(QWidget* widget) {
    QFocusEvent event(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(widget, &event);
}

}  // namespace rvq::test
