#include "core/app/printer_info_parser.h"

#include <functional>
#include <utility>

#include "core/app/text.h"

namespace rvq {

namespace {

constexpr std::size_t kReplyHeaderLength = 21;

using LineRule = std::function<void(std::string_view line, InfoList& list)>;

std::string_view Body(std::string_view reply) {
    return reply.size() <= kReplyHeaderLength ? std::string_view()
                                              : reply.substr(kReplyHeaderLength);
}

void Add(InfoList& list, std::string_view name, std::string_view value) {
    list.names.push_back(Trim(name));
    list.values.push_back(Trim(value));
}

// Calls `each` for every CR LF terminated line until the first empty line;
// a last line without CR is not a line.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& each) {
    while (!text.empty()) {
        const std::size_t cr = text.find('\r');
        if (cr == std::string_view::npos || cr == 0) return;
        each(text.substr(0, cr));
        text.remove_prefix(std::min(text.size(), cr + 2));
    }
}

// Name before the last blank, value from it; no blank gives an empty name.
void SplitAtLastBlank(std::string_view line, InfoList& list) {
    const std::string_view trimmed = TrimView(line);
    const std::size_t blank = trimmed.rfind(' ');
    if (blank == std::string_view::npos) {
        Add(list, {}, trimmed);
    } else {
        Add(list, trimmed.substr(0, blank), trimmed.substr(blank));
    }
}

// Name before the first "[", value from it; no "[" gives an empty name.
void SplitAtBracket(std::string_view line, InfoList& list) {
    const std::size_t bracket = line.find('[');
    if (bracket == std::string_view::npos) {
        Add(list, {}, line);
    } else {
        Add(list, line.substr(0, bracket), line.substr(bracket));
    }
}

void RuleG2(std::string_view line, InfoList& list) {
    if (line.size() >= 5 && line.substr(0, 5) == "     ") {
        Add(list, {}, line);  // continuation of the previous entry
    } else {
        SplitAtBracket(line, list);
    }
}

void RuleR(std::string_view line, InfoList& list) {
    if (line.find('[') != std::string_view::npos) {
        SplitAtBracket(line, list);
    } else {
        SplitAtLastBlank(line, list);
    }
}

// Cuts the text before the next single blank and trims what is left; no
// blank leaves an empty word and the text untouched.
std::string_view NextWord(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) return {};
    const std::string_view word = rest.substr(0, blank);
    rest = TrimView(rest.substr(blank + 1));
    return word;
}

// After a heading line, up to seven lines (eleven once a "(" line was
// seen) hold the value set from the computer and the one set on the keys.
void ParseAdjust(std::string_view text, InfoList& list) {
    int lineNumber = 0;  // 0 is the heading
    int limit = 7;
    ForEachLine(text, [&](std::string_view rawLine) {
        const int n = lineNumber++;
        if (n == 0) return;
        std::string_view line = TrimView(rawLine);
        if (n > limit) {
            SplitAtLastBlank(line, list);
        } else if (StartsWith(line, "(")) {
            list.names.emplace_back(line);
            list.values.emplace_back();
            limit = 11;
        } else {
            const std::string_view pcName = NextWord(line);
            const std::string_view pcValue = NextWord(line);
            const std::string_view keyName = NextWord(line);
            list.names.push_back("[PC] " + std::string(pcName));
            list.values.emplace_back(pcValue);
            list.names.push_back("[KEY] " + std::string(keyName));
            list.values.emplace_back(line);
        }
    });
}

void ParseCounter(std::string_view text, InfoList& list, std::optional<std::string>& destination) {
    ForEachLine(text, [&](std::string_view line) {
        const std::size_t bracket = line.find('[');
        if (bracket != std::string_view::npos && bracket > 0) {
            destination = std::string(line.substr(bracket));
            line = line.substr(0, bracket);
        }
        SplitAtLastBlank(line, list);
    });
}

InfoList ParseWithRule(std::string_view text, const LineRule& rule) {
    InfoList list;
    ForEachLine(text, [&](std::string_view line) { rule(line, list); });
    return list;
}

}  // namespace

std::string_view SectionText(std::string_view text, std::string_view sectionName) {
    const std::string marker = "<< " + std::string(sectionName) + " >>";
    std::size_t start = text.find(marker);
    if (start == std::string_view::npos) start = 0;
    std::string_view section = text.substr(start);
    const std::size_t cr = section.find('\r');
    if (cr != std::string_view::npos) {
        section.remove_prefix(std::min(section.size(), cr + 2));
    } else if (!section.empty()) {
        section.remove_prefix(1);
    }
    const std::size_t next = section.find("<<");
    if (next != std::string_view::npos) section = section.substr(0, next);
    return section;
}

PrinterInfo ParsePrinterInfoReply(std::string_view reply) {
    const std::string_view text = Body(reply);
    PrinterInfo info;
    auto& sections = info.sections;
    auto at = [&](InfoSection s) -> InfoList& { return sections[static_cast<std::size_t>(s)]; };

    ParseCounter(SectionText(text, "COUNTER"), at(InfoSection::Counter), info.destination);
    ParseAdjust(SectionText(text, "ADJUST"), at(InfoSection::Adjust));

    const std::pair<InfoSection, const char*> plainSections[] = {
        {InfoSection::ParameterSettings, "PARAMETER SETTINGS"},
        {InfoSection::Panel, "PANEL"},
        {InfoSection::StorageArea, "STORAGE AREA"},
        {InfoSection::Rs232c, "RS-232C"},
        {InfoSection::Centro, "CENTRO"},
        {InfoSection::Rtc, "RTC"}};
    for (const auto& [section, name] : plainSections) {
        at(section) = ParseWithRule(
            SectionText(text, name),
            [](std::string_view line, InfoList& list) { SplitAtBracket(line, list); });
    }

    at(InfoSection::Usb) = ParseWithRule(SectionText(text, "USB"), RuleG2);
    // Printers without wireless LAN report their wired section as "LAN".
    std::string_view lan = SectionText(text, "LAN/WLAN");
    if (StartsWith(lan, "TOTAL")) lan = SectionText(text, "LAN");
    at(InfoSection::LanWlan) = ParseWithRule(lan, RuleG2);
    at(InfoSection::Rfid) = ParseWithRule(SectionText(text, "RFID"), RuleR);
    return info;
}

InfoList ParseVersionReply(std::string_view reply) {
    InfoList list;
    ForEachLine(Body(reply), [&](std::string_view rawLine) {
        if (rawLine.size() >= 5 && rawLine.substr(0, 5) == "     ") {
            Add(list, {}, rawLine);
            return;
        }
        const std::string_view line = TrimView(rawLine);
        const std::size_t blank = line.find(' ');
        const std::string_view word =
            blank == std::string_view::npos ? std::string_view() : line.substr(0, blank);
        auto from = [&](std::size_t pos) { return line.substr(std::min(line.size(), pos)); };
        if (word == "USB" || word == "LAN") {
            SplitAtLastBlank(line, list);
        } else if (word == "BASIC" || word == "M") {
            Add(list, line.substr(0, 7), from(8));
        } else if (word == "PE") {
            Add(list, line.substr(0, 6), from(7));
        } else {
            // A line of one word is all value.
            Add(list, word, blank == std::string_view::npos ? line : from(blank + 1));
        }
    });
    return list;
}

std::string VersionFromValue(std::string_view value) {
    const std::size_t colon = value.rfind(':');
    if (colon == std::string_view::npos) return {};
    const std::string head = TrimRight(value.substr(0, colon));
    const std::size_t blank = head.rfind(' ');
    return blank == std::string::npos ? head : head.substr(blank + 1);
}

}  // namespace rvq
