#include "sim/command_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_printer.h"

namespace rvq::sim {
namespace {

using namespace std::string_literals;
using Kind = ReceivedCommand::Kind;

// The decoder of a printer configured with the codes 02 03 17, so all three
// sets are understood.
CommandDecoder Decoder() {
    PrinterConfig config;
    config.codes = CodeSet{0x02, 0x03, 0x17};
    return SimPrinter(config).MakeDecoder();
}

// Compact view of what was decoded: "C:text" for a command (with "+N" for
// N data bytes), "M:text:error", "S:N" for stray bytes, "D:text" when a
// binary command's data starts and "P:text@N" after N of its data bytes.
std::vector<std::string> Decode(const std::string& bytes, bool byteByByte = false) {
    CommandDecoder decoder = Decoder();
    std::vector<ReceivedCommand> commands;
    if (byteByByte) {
        for (char c : bytes) {
            for (auto& command : decoder.Feed(std::string(1, c)))
                commands.push_back(std::move(command));
        }
    } else {
        commands = decoder.Feed(bytes);
    }
    std::vector<std::string> out;
    for (const ReceivedCommand& c : commands) {
        switch (c.kind) {
            case Kind::Command:
                out.push_back("C:" + c.text + (c.data ? "+" + std::to_string(c.data->size()) : ""));
                break;
            case Kind::Malformed:
                out.push_back("M:" + c.text + ":" + c.error);
                break;
            case Kind::Stray: {
                // Stray bytes come per piece fed; count them together.
                std::size_t count = c.strayBytes;
                if (!out.empty() && out.back().starts_with("S:")) {
                    count += std::stoul(out.back().substr(2));
                    out.pop_back();
                }
                out.push_back("S:" + std::to_string(count));
                break;
            }
            case Kind::DataStart:
                out.push_back("D:" + c.text);
                break;
            case Kind::DataProgress:
                out.push_back("P:" + c.text + "@" + std::to_string(c.dataReceived));
                break;
        }
    }
    return out;
}

TEST(CommandDecoder, CutsTheStreamIntoCommands) {
    const struct {
        std::string bytes;
        std::vector<std::string> expected;
    } cases[] = {
        {"\x1bWS\n\0"s, {"C:WS"}},
        {"{WS|}", {"C:WS"}},
        {"\x02WS\x03\x17", {"C:WS"}},
        {"\x1bZSS\n\0{WV|}"s, {"C:ZSS", "C:WV"}},
        {"ab\r\n\x1bWS\n\0"s, {"S:4", "C:WS"}},
        // One byte short: the terminator is missing and the next command
        // still comes through.
        {"{WS|{WV|}", {"M:WS:no terminator", "C:WV"}},
        {"\x1bWS\n\x1bWV\n\0"s, {"M:WS:no terminator", "C:WV"}},
        // A binary upload carries its codes inside the data untouched.
        {"{ZW73;000004a|}b|}", {"C:ZW73;000004+4"}},
        {"\x1bZW76;000000\n\0"s, {"C:ZW76;000000+0"}},
        {"{ZW73;000002ab}}", {"M:ZW73;000002:no terminator after data", "S:2"}},
        // Not a size: read as a plain command.
        {"{ZW73;00x002|}", {"C:ZW73;00x002"}},
        // Graphics: 9 dots wide is 2 bytes a row, 3 rows.
        {"{SG;0000,00000,0009,00003,1,\x7c\x7d\x00\x01\x02\x03|}"s,
         {"C:SG;0000,00000,0009,00003,1,+6"}},
        // A firmware load (address 00B00000, 1 KB; the address holds a
        // code byte) sizes the image of the program command after it, which
        // has no terminator.
        {"{LD;\x00\x7c\x00\x00,\x00\x01|}{LP;"s + std::string(1024, '|') + "{WS|}",
         {"C:LD;+7", "D:LP;", "C:LP;+1024", "C:WS"}},
        // 128 KB: one report after the first 64 KB.
        {"{LD;\x00\xB0\x00\x00,\x00\x80|}{LP;"s + std::string(131072, 'x'),
         {"C:LD;+7", "D:LP;", "P:LP;@65536", "C:LP;+131072"}},
        // A BASIC block load of one 64 KB unit: image, codes and checksum.
        {"{LDB;15,01|}{LP;"s + std::string(65536, 'x') + "|}\x42{WS|}",
         {"C:LDB;15,01", "C:LP;+65539", "C:WS"}},
        // A program command without a load command before it is just text.
        {"{LP;abc|}", {"C:LP;abc"}},
    };
    for (const auto& c : cases) {
        const std::string shown = c.bytes.substr(0, 40);
        EXPECT_EQ(Decode(c.bytes), c.expected) << shown;
        EXPECT_EQ(Decode(c.bytes, true), c.expected) << "byte by byte: " << shown;
    }
}

TEST(CommandDecoder, OverlongCommandIsCutAndTheNextOneRead) {
    const std::string overlong =
        "{" + std::string(CommandDecoder::kMaxTextLength + 10, 'A') + "|}{WS|}";
    const auto decoded = Decode(overlong);
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_TRUE(decoded[0].ends_with(":command too long"));
    EXPECT_EQ(decoded[1], "S:11");
    EXPECT_EQ(decoded[2], "C:WS");
}

TEST(CommandDecoder, ResetForgetsAPartialCommand) {
    CommandDecoder decoder = Decoder();
    EXPECT_TRUE(decoder.Feed("{ZS").empty());
    decoder.Reset();
    const auto commands = decoder.Feed("S|}{WS|}");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].kind, Kind::Stray);
    EXPECT_EQ(commands[1].text, "WS");
}

}  // namespace
}  // namespace rvq::sim
