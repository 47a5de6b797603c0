#include "ui/combo_util.h"

#include <QComboBox>

#include "core/app/combo_match.h"
#include "ui/ui_text.h"

namespace rvq::ui {

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& e : entries) combo->addItem(ToQt(e));
}

void SelectStored(QComboBox* combo, const std::string& stored) {
    const QSignalBlocker blocker(combo);
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i) entries.push_back(FromQt(combo->itemText(i)));
    if (const auto match = MatchComboEntry(entries, stored)) {
        combo->setCurrentIndex(static_cast<int>(*match));
    } else if (!stored.empty()) {
        combo->addItem(ToQt(stored));
        combo->setCurrentIndex(combo->count() - 1);
    }
}

std::string ComboText(const QComboBox* combo) { return FromQt(combo->currentText()); }

}  // namespace rvq::ui
