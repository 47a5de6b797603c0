#include "core/pages/external_character_page.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/builders/gaiji_file.h"

namespace rvq {

namespace {

constexpr int kMagnificationCount = 6;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int GaijiFieldMaxLength(int maximum) { return maximum < 1000 ? 3 : 4; }

int GaijiCodeFromField(std::string_view text) {
    const std::size_t open = text.find('(');
    std::string_view digits = open == std::string_view::npos ? text : text.substr(open + 1);
    int code = 0;
    int count = 0;
    // A 2-byte code has four digits; anything beyond is not part of it.
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) continue;
        if (++count > 4) break;
        code = code * 16 + d;
    }
    return code;
}

GaijiOffsetFields GaijiOffsetsForType(bool folderMode, int type, int firstBitmapWidth) {
    GaijiOffsetFields fields;
    if (folderMode || IsFixedSizeGaijiType(type)) {
        fields.editable = false;
        return fields;
    }
    fields.spacing = firstBitmapWidth;
    return fields;
}

std::vector<std::string> MagnificationTexts(const Strings& strings) {
    std::vector<std::string> texts;
    texts.reserve(kMagnificationCount);
    for (int i = 0; i < kMagnificationCount; ++i)
        texts.push_back(strings.Get(sid::kFirstMagnification + i));
    return texts;
}

}  // namespace rvq
