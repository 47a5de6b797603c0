#pragma once

#include <QObject>

#include "core/app/help_topics.h"

class QWidget;

namespace rvq {
struct AppContext;
class Interaction;
}  // namespace rvq

namespace rvq::ui {

// The help section of the window or page `widget` is part of: a dialog's
// own, the visible page's in the main window, the start page otherwise.
help::Topic HelpTopicOf(const QWidget* widget);

// F1 anywhere in the program: opens the help on the section of what has
// the focus. Installed on the application.
class HelpKey : public QObject {
public:
    HelpKey(const AppContext& context, Interaction& interaction, QObject* parent = nullptr);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const AppContext& context_;
    Interaction& interaction_;
};

}  // namespace rvq::ui
