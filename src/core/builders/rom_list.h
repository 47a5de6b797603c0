#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/builders/rom_trailer.h"

namespace rvq {

class Interaction;
class Strings;

struct RomListEntry {
    std::string path;
    std::string section;  // as read from the trailer, after the mapping
    std::string version;
    RomSectionType type = RomSectionType::Other;
};

// The firmware page's ROM list: sorted by section type, at most one entry
// per type.
struct RomList {
    std::vector<RomListEntry> entries;
};

enum class AddRomOutcome { Added, Replaced, NotRomFile, WrongModel, Declined };

// The model name a ROM file must carry for the selected printer model.
std::string ExpectedRomModel(std::string_view selectedModel);

// The model check of a trailer's model field against the selected model.
bool RomFitsModel(const std::string& trailerModel, RomSectionType type,
                  std::string_view selectedModel);

// Reads the file's trailer, checks it (messages 900 and 1408), asks
// before replacing an entry of the same section (901) and inserts it in
// type order. Returns the list position of the new entry in `position`.
AddRomOutcome AddRomFile(RomList& list, const std::string& path, std::string_view selectedModel,
                         Interaction& interaction, const Strings& strings,
                         CodePage codePage = CodePage::Western1252, int* position = nullptr);

void DeleteRomEntry(RomList& list, std::size_t index);

}  // namespace rvq
