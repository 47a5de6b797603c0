#include "ui/help_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <tuple>

#include "ui/environment_dialog.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/mlan_select_dialog.h"
#include "ui/password_dialogs.h"
#include "ui/progress_dialog.h"

namespace rvq::ui {

namespace {

std::optional<help::Dialog> DialogOf(const QWidget* widget) {
    if (qobject_cast<const ProgressDialog*>(widget)) return help::Dialog::Progress;
    if (qobject_cast<const EnvironmentDialog*>(widget)) return help::Dialog::Environment;
    if (qobject_cast<const PasswordChangeDialog*>(widget)) return help::Dialog::PasswordChange;
    if (qobject_cast<const LoginDialog*>(widget)) return help::Dialog::Login;
    if (qobject_cast<const MLanSelectDialog*>(widget)) return help::Dialog::PrinterList;
    if (qobject_cast<const HelpWindow*>(widget)) return help::Dialog::HelpWindow;
    return std::nullopt;
}

}  // namespace

help::Topic HelpTopicOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const auto dialog = DialogOf(w)) return help::DialogTopic(*dialog);
        if (const auto* main = qobject_cast<const MainWindow*>(w)) return main->helpTopic();
    }
    return help::Contents();
}

HelpKey::HelpKey(const AppContext& context, Interaction& interaction, QObject* parent)
    : QObject(parent), context_(context), interaction_(interaction) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    // The key goes to the widget with the focus.
    QWidget* from = qobject_cast<QWidget*>(watched);
    if (from == nullptr) from = QApplication::focusWidget();
    if (from == nullptr) from = QApplication::activeWindow();
    std::ignore = ShowHelp(context_, interaction_, from, HelpTopicOf(from));
    return true;
}

}  // namespace rvq::ui
