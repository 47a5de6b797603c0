#pragma once

#include <QPointer>
#include <QWidget>

#include "core/app/interaction.h"

namespace rvq {
class Strings;
}

namespace rvq::ui {

// Questions and messages as modal message boxes: errors with the error
// icon, questions with Yes/No and No preselected (the language restart
// question with OK/Cancel and Cancel preselected), notices with the
// information icon.
class MessageBoxInteraction : public Interaction {
public:
    explicit MessageBoxInteraction(const Strings& strings) : strings_(strings) {}

    // The window the boxes are centred on.
    void SetParent(QWidget* parent) { parent_ = parent; }

    bool Confirm(int messageId, const std::string& text) override;
    void Error(int messageId, const std::string& text) override;
    void Info(int messageId, const std::string& text) override;

private:
    const Strings& strings_;
    QPointer<QWidget> parent_;
};

}  // namespace rvq::ui
