#include "core/builders/rom_list.h"

#include <algorithm>

#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {}  // namespace

std::string ExpectedRomModel(std::string_view selectedModel) {
    if (selectedModel == "R-VQ4T2-H") return "R-VQ4T2H";
    const std::size_t dash = selectedModel.rfind('-');
    if (dash != std::string_view::npos) selectedModel = selectedModel.substr(0, dash);
    return ToUpperAscii(selectedModel);
}

bool RomFitsModel(const std::string& trailerModel, RomSectionType type,
                  std::string_view selectedModel) {
    if (type == RomSectionType::Main) return trailerModel == ExpectedRomModel(selectedModel);
    const std::string model = ToUpperAscii(trailerModel);
    return model == "R-VQ" || model == ExpectedRomModel(selectedModel);
}

AddRomOutcome AddRomFile(RomList& list, const std::string& path, std::string_view selectedModel,
                         Interaction& interaction, const Strings& strings, CodePage codePage,
                         int* position) {
    const auto info = ReadRomTrailer(path, codePage);
    if (!info) {
        interaction.Error(sid::kMsgNotRomFile, strings.Get(sid::kMsgNotRomFile));
        return AddRomOutcome::NotRomFile;
    }
    const RomSectionType type = SectionTypeOf(info->section);
    if (!RomFitsModel(info->model, type, selectedModel)) {
        interaction.Error(sid::kMsgRomWrongModel, strings.Get(sid::kMsgRomWrongModel));
        return AddRomOutcome::WrongModel;
    }

    // Two sections outside the table are both "other": the second replaces
    // the first without a question, as their canonical name is empty.
    const std::string_view canonical = CanonicalSectionName(type);
    const bool named = std::any_of(list.entries.begin(), list.entries.end(),
                                   [&](const RomListEntry& e) { return e.section == canonical; });
    if (named &&
        !interaction.Confirm(sid::kConfirmReplaceRom, strings.Get(sid::kConfirmReplaceRom))) {
        return AddRomOutcome::Declined;
    }

    RomListEntry entry{path, info->section, info->version, type};
    auto& entries = list.entries;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const RomListEntry& e) { return e.type >= type; });
    AddRomOutcome outcome = AddRomOutcome::Added;
    if (it != entries.end() && it->type == type) {
        *it = std::move(entry);
        outcome = AddRomOutcome::Replaced;
    } else {
        it = entries.insert(it, std::move(entry));
    }
    if (position) *position = static_cast<int>(it - entries.begin());
    return outcome;
}

void DeleteRomEntry(RomList& list, std::size_t index) {
    if (index < list.entries.size())
        list.entries.erase(list.entries.begin() + static_cast<long>(index));
}

}  // namespace rvq
