#pragma once

#include <string>
#include <vector>

class QComboBox;

namespace rvq::ui {

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries);

// Selects the entry a stored text names (an equal entry before a prefix
// match, ignoring case). A text no entry matches is added as an entry of
// its own and selected, so it is kept rather than replaced.
void SelectStored(QComboBox* combo, const std::string& stored);

std::string ComboText(const QComboBox* combo);

}  // namespace rvq::ui
