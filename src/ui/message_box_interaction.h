#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "core/app/interaction.h"

namespace rvq {
class Strings;
}

class QMessageBox;

namespace rvq::ui {

enum class BoxKind { Question, Error, Notice };

// The message box of one question or message, as the program shows it.
std::unique_ptr<QMessageBox> MakeMessageBox(BoxKind kind, const Strings& strings, int messageId,
                                            const std::string& text, QWidget* parent = nullptr);

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
