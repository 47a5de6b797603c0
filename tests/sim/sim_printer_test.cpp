#include "sim/sim_printer.h"

#include <gtest/gtest.h>

#include <string>

#include "core/comm/port/reply_frames.h"
#include "sim/command_log.h"
#include "sim/reply_builders.h"

namespace rvq::sim {
namespace {

ReceivedCommand Command(std::string text) {
    ReceivedCommand command;
    command.text = std::move(text);
    return command;
}

TEST(SimPrinter, AnswersTheFixedCommands) {
    PrinterConfig config;
    config.bankType = 'N';
    SimPrinter printer(config);
    const struct {
        std::string command;
        int status;  // of the reply; -2 for none
        bool restart;
        PrinterMode modeAfter;
    } cases[] = {
        {"WS", 0, false, PrinterMode::Vpcl},       {"ZSS", 103, false, PrinterMode::Setting},
        {"WS", 0, false, PrinterMode::Setting},    {"ZSR", 102, false, PrinterMode::Vpcl},
        {"ZSS", 103, false, PrinterMode::Setting}, {"ZSE", 102, true, PrinterMode::Vpcl},
        {"WR", -2, true, PrinterMode::Vpcl},       {"HD001,A", 0, false, PrinterMode::Vpcl},
        {"ZXX", -2, false, PrinterMode::Vpcl},
    };
    for (const auto& c : cases) {
        const Response response = printer.Handle(Command(c.command));
        if (c.status == -2) {
            EXPECT_TRUE(response.reply.empty()) << c.command;
        } else {
            EXPECT_EQ(ParseStatusFrame(response.reply), c.status) << c.command;
        }
        EXPECT_EQ(response.restart, c.restart) << c.command;
        EXPECT_EQ(printer.mode(), c.modeAfter) << c.command;
    }
    EXPECT_EQ(ParseTypeFrame(printer.Handle(Command("WV")).reply), "N    ");
}

TEST(SimPrinter, FaultsChangeTheAnswers) {
    PrinterConfig config;
    config.faults.errorStatus = 6;
    config.faults.neverAnswer = {"ZSS"};
    SimPrinter printer(config);
    EXPECT_EQ(ParseStatusFrame(printer.Handle(Command("WS")).reply), 6);
    EXPECT_TRUE(printer.Handle(Command("ZSS")).reply.empty());
    EXPECT_EQ(printer.mode(), PrinterMode::Vpcl);
}

TEST(SimPrinter, RegisteredHandlersTakeTheLongestMatch) {
    SimPrinter printer(PrinterConfig{});
    printer.Register("ZA", [](SimPrinter&, const ReceivedCommand&, Response& r) {
        r.reply = DataFrame("ZA", {});
    });
    printer.Register("ZA00", [](SimPrinter&, const ReceivedCommand& c, Response& r) {
        r.reply = DataFrame("ZA00", {c.text.substr(5)});
    });
    std::vector<std::string> fields;
    ASSERT_TRUE(
        ParseReplyFields(printer.Handle(Command("ZA00;abc")).reply, CodePage::Western1252, fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"ZA00 ", "abc"}));
    ASSERT_TRUE(
        ParseReplyFields(printer.Handle(Command("ZA")).reply, CodePage::Western1252, fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"ZA   "}));
}

TEST(CommandLog, LinesNameTextCodesAndData) {
    LogEntry entry{1234, 2, Command("ZA00;\"\\\xe9\x01")};
    EXPECT_EQ(LogLine(entry),
              R"({"t":1234,"printer":2,"command":"ZA00;\"\\\u00e9\u0001","codes":"1B0A00"})");
    entry.command.text = "ZW73;000003";
    entry.command.codes = kBraceCodes;
    entry.command.data = "abc";
    EXPECT_EQ(LogLine(entry),
              R"({"t":1234,"printer":2,"command":"ZW73;000003","codes":"7B7C7D","length":3,)"
              R"("sha256":"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"})");
    entry.command = ReceivedCommand{};
    entry.command.kind = ReceivedCommand::Kind::Malformed;
    entry.command.text = "WS";
    entry.command.error = "no terminator";
    EXPECT_EQ(LogLine(entry),
              R"({"t":1234,"printer":2,"command":"WS","codes":"1B0A00","error":"no terminator"})");
    entry.command.kind = ReceivedCommand::Kind::Stray;
    entry.command.strayBytes = 4;
    EXPECT_EQ(LogLine(entry), R"({"t":1234,"printer":2,"stray":4})");
}

}  // namespace
}  // namespace rvq::sim
