// What one control of a parameter page decides for others: which fields a
// list enables, which entries the authentication lists offer, the limits of
// the WEP keys and of the DHCP client id, and the country lists' display.
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_model.h"
#include "core/pages/page_rules.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "ui/pages/parameter_controls.h"
#include "ui/pages/parameter_page.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kSystemModePassword = 4462;
constexpr int kNewPassword = 4855;
constexpr int kControlCode = 4461;
constexpr int kFirstManualCode = 4852;
constexpr int kLastManualCode = 4854;
constexpr int kManualCodesEntry = 3;
constexpr int kDhcpInput = 4518;
constexpr int kDhcpClientId = 4903;
constexpr int kFirstTrapList = 4519;
constexpr int kFirstTrapAddress = 5704;
constexpr int kTrapRows = 10;
constexpr int kFirstAuthList = 4555;  // (1); (2) to (4) follow
constexpr int kAuthLists = 4;
constexpr int kWepInput = 4560;
constexpr int kFirstWepSize = 4561;
constexpr int kFirstWepKey = 4960;
constexpr int kWepKeys = 4;
constexpr int kPacFile = 4602;
constexpr int kPacFilePath = 5009;
constexpr int kRfidPassword = 4655;
constexpr int kRfidNewPassword = 5055;
constexpr int kCountryLists[] = {4551, 4652};
constexpr int kNoLimit = 32767;

bool InRun(int id, int first, int count) { return id >= first && id < first + count; }

const std::vector<std::string>& ShownLabels(const ParamItem& item, bool japanese) {
    return japanese && !item.labelsJpn.empty() ? item.labelsJpn : item.labels;
}

}  // namespace

QComboBox* ParameterPage::combo(int ctrlId) const {
    return qobject_cast<QComboBox*>(control(ctrlId));
}

QLineEdit* ParameterPage::edit(int ctrlId) const {
    QWidget* widget = control(ctrlId);
    if (!widget) return nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return line;
    return widget->findChild<QLineEdit*>();
}

int ParameterPage::listIndex(int ctrlId) const {
    const QComboBox* list = combo(ctrlId);
    return list ? list->currentIndex() : -1;
}

void ParameterPage::ConnectDependencies() {
    for (const Field& field : fields_) {
        auto* list = qobject_cast<QComboBox*>(field.widget);
        if (!list) continue;
        const int ctrlId = field.ctrlId;
        connect(list, &QComboBox::activated, this, [this, ctrlId](int index) {
            if (!filling_) OnListChosen(ctrlId, index);
        });
    }
}

bool ParameterPage::DependencyAllows(int ctrlId) const {
    // A field depends on a list of its page; without the list it is free.
    auto selected = [this](int listId, auto test) {
        return combo(listId) == nullptr || test(listIndex(listId));
    };
    if (ctrlId == kNewPassword) return selected(kSystemModePassword, [](int i) { return i == 1; });
    if (ctrlId >= kFirstManualCode && ctrlId <= kLastManualCode)
        return selected(kControlCode, [](int i) { return i == kManualCodesEntry; });
    if (ctrlId == kPacFilePath) return selected(kPacFile, [](int i) { return i == 1; });
    if (ctrlId == kRfidNewPassword) return selected(kRfidPassword, [](int i) { return i == 1; });
    if (InRun(ctrlId, kFirstTrapAddress, kTrapRows))
        return selected(kFirstTrapList + ctrlId - kFirstTrapAddress, [](int i) { return i > 0; });
    if (InRun(ctrlId, kFirstWepKey, kWepKeys))
        return selected(kFirstWepSize + ctrlId - kFirstWepKey, [](int i) { return i > 0; });
    return true;
}

void ParameterPage::ApplyDependencies() {
    RefillAuthentication(1, true);
    for (int i = 0; i < kWepKeys; ++i) wepSizes_[i] = listIndex(kFirstWepSize + i);
    ApplyWepLimits();
    ApplyClientIdInput();
    ShowCountryLists();
}

void ParameterPage::OnListChosen(int ctrlId, int index) {
    if (InRun(ctrlId, kFirstAuthList, kAuthLists - 1)) {
        RefillAuthentication(ctrlId - kFirstAuthList + 1, false);
    } else if (ctrlId == kWepInput) {
        for (int i = 0; i < kWepKeys; ++i)
            if (QLineEdit* key = edit(kFirstWepKey + i)) key->clear();
        ApplyWepLimits();
    } else if (InRun(ctrlId, kFirstWepSize, kWepKeys)) {
        const int key = ctrlId - kFirstWepSize;
        if (wepSizes_[key] != index)
            if (QLineEdit* field = edit(kFirstWepKey + key)) field->clear();
        wepSizes_[key] = index;
        ApplyWepLimits();
    } else if (ctrlId == kDhcpInput) {
        if (QLineEdit* id = edit(kDhcpClientId)) id->clear();
        ApplyClientIdInput();
    } else if (InRun(ctrlId, kFirstTrapList, kTrapRows) && index == 0) {
        if (auto* address =
                qobject_cast<AddressEdit*>(control(kFirstTrapAddress + ctrlId - kFirstTrapList)))
            address->setText("0.0.0.0");
    }
    UpdateEnabling();
}

// Lists (2) to (4) after `fromList` offer what the lists before them allow;
// each keeps the item's entry when it is offered (a page being shown) or
// starts at its first offered entry (the user changed a list before it).
void ParameterPage::RefillAuthentication(int fromList, bool keepItems) {
    const bool japanese = services_.context.isJapanese;
    std::array<int, 3> chosen{};
    for (int list = 1; list <= kAuthLists; ++list) {
        const int ctrlId = kFirstAuthList + list - 1;
        QComboBox* box = combo(ctrlId);
        const ParamItem* item = ItemOf(ctrlId);
        if (!box || !item) return;
        const auto& labels = ShownLabels(*item, japanese);
        if (list > fromList) {
            const params::EntryRange range =
                params::OfferedAuthEntries(list, chosen, static_cast<int>(labels.size()));
            int wanted = range.first;
            if (keepItems) {
                const auto entry = params::MatchingEntry(*item);
                if (entry && static_cast<int>(*entry) >= range.first &&
                    static_cast<int>(*entry) < range.end)
                    wanted = static_cast<int>(*entry);
            }
            const QSignalBlocker block(box);
            box->clear();
            for (int i = range.first; i < range.end; ++i)
                box->addItem(ToQt(labels[static_cast<std::size_t>(i)]));
            box->setCurrentIndex(wanted - range.first);
        }
        if (list <= 3) {
            const auto at = std::find(labels.begin(), labels.end(), FromQt(box->currentText()));
            chosen[static_cast<std::size_t>(list - 1)] = static_cast<int>(at - labels.begin());
        }
    }
}

void ParameterPage::ApplyWepLimits() {
    const bool hex = listIndex(kWepInput) == 0;
    for (int i = 0; i < kWepKeys; ++i) {
        QLineEdit* key = edit(kFirstWepKey + i);
        const ParamItem* item = ItemOf(kFirstWepKey + i);
        if (!key || !item) continue;
        const int limit = params::WepKeyLimit(listIndex(kFirstWepSize + i), hex);
        key->setMaxLength(limit > 0 ? limit : (item->maxLength > 0 ? item->maxLength : kNoLimit));
        SetEditFilter(key, hex ? params::kind::kHex : item->kind, hex);
    }
}

void ParameterPage::ApplyClientIdInput() {
    QLineEdit* field = edit(kDhcpClientId);
    const ParamItem* item = ItemOf(kDhcpClientId);
    if (!field || !item || !combo(kDhcpInput)) return;
    const params::ClientIdInput input =
        params::ClientIdInputFor(listIndex(kDhcpInput) == 0, item->kind);
    field->setMaxLength(input.maxLength);
    SetEditFilter(field, input.filterKind, input.upperCase);
}

// The country lists show nothing outside the full service mode; in it an
// empty value takes the default.
void ParameterPage::ShowCountryLists() {
    const bool full = services_.context.serviceMode == ServiceMode::Full;
    const bool japanese = services_.context.isJapanese;
    for (int ctrlId : kCountryLists) {
        QComboBox* box = combo(ctrlId);
        ParamItem* item = ItemOf(ctrlId);
        if (!box || !item) continue;
        const QSignalBlocker block(box);
        if (!full) {
            box->setCurrentIndex(-1);
            continue;
        }
        const std::lock_guard lock(services_.document.modelMutex());
        if (item->textValue.empty()) item->textValue = item->textDefault;
        const auto entry = params::MatchingEntry(*item);
        const auto& labels = ShownLabels(*item, japanese);
        box->setCurrentIndex(entry && *entry < labels.size() ? box->findText(ToQt(labels[*entry]))
                                                             : 0);
    }
}

}  // namespace rvq::ui
