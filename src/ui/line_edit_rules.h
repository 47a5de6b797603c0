#pragma once

#include <string>
#include <string_view>

class QLineEdit;

namespace rvq::ui {

using CharacterFilter = std::string (*)(std::string_view);

// Removes the characters `filter` does not keep as the user types.
void FilterWhileTyping(QLineEdit* edit, CharacterFilter filter);

// Trims the text when the field is left.
void TrimOnLeave(QLineEdit* edit);

}  // namespace rvq::ui
