#include "sim/info_blocks.h"

#include <cstdio>

namespace rvq::sim {
namespace {

std::string Framed(std::string payload) {
    payload.insert(0, "\x01\x02");
    payload.append("\x03\x04\r\n");
    return payload;
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string LinesText(const InfoLines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string BlockFrame(const std::string& header, const std::string& text) {
    char length[16];
    std::snprintf(length, sizeof length, "%04zu", text.size() % 10000);
    return Framed(Padded(header, 17) + length + text);
}

}  // namespace

const char* CounterName(int field) {
    switch (field) {
        case 3:
            return "HEAD DISTANCE";
        case 8:
            return "FEED DISTANCE";
        case 13:
            return "CUT COUNT";
        case 14:
            return "DISPENSE COUNT";
        case 15:
            return "RIBBON DISTANCE";
        case 16:
            return "LABEL COUNT";
        case 17:
            return "HEAD OPEN COUNT";
        case 18:
            return "RFID WRITE COUNT";
        case 19:
            return "RFID ERROR COUNT";
        case 20:
            return "PAPER END COUNT";
        case 21:
            return "RIBBON END COUNT";
        default:
            return "COUNTER";
    }
}

std::vector<int> CountersCleared(int selection) {
    switch (selection) {
        case 0:
            return {8};
        case 1:
            return {3};
        case 2:
            return {kCounterFields.begin(), kCounterFields.end()};
        case 3:
            return {13};
        default:
            return {};
    }
}

std::string VersionBlockFrame(const InfoLines& lines) {
    return BlockFrame("VERSION", LinesText(lines));
}

std::string SettingsBlockFrame(const std::vector<InfoSectionText>& sections) {
    std::string text;
    for (const InfoSectionText& section : sections)
        text += "<< " + section.name + " >>\r\n" + LinesText(section.lines);
    // An empty line ends the last section for the reader; blanks fill up.
    text += "\r\n";
    constexpr std::size_t kFrameOverhead = 2 + 17 + 4 + 4;
    if (text.size() + kFrameOverhead < kSettingsBlockMinimum)
        text.append(kSettingsBlockMinimum - kFrameOverhead - text.size(), ' ');
    return BlockFrame("PRINTER INFO", text);
}

std::string DataLogBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

std::string DataLogFrame(std::size_t size) {
    char length[16];
    std::snprintf(length, sizeof length, "%08zu", size % 100000000);
    return Framed(Padded("DATA LOG", 25) + length + DataLogBytes(size));
}

}  // namespace rvq::sim
