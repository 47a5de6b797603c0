#pragma once

// Simulated printers on loopback addresses for rvqtool's fleet commands,
// and the helpers their tests share.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "sim/param_commands.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::string WithValue(std::string file, const std::string& key, const std::string& value) {
    const std::size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return file;
    const std::size_t start = at + 3 + key.size();
    file.replace(start, file.find("\r\n", start) - start, value);
    return file;
}

// The text with every run of spaces made one space, so that table
// columns compare without their padding.
inline std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
    }
    return out;
}

// `text` has the shape of `pattern`, where '#' stands for any digit.
inline bool Shaped(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool ok = pattern[i] == '#' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                          : text[i] == pattern[i];
        if (!ok) return false;
    }
    return true;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// A command the printer would take as a parameter write.
inline bool IsSetCommand(const sim::LogEntry& entry) {
    const std::string& text = entry.command.text;
    return !sim::FindSetCommands(text.substr(0, text.find(';'))).empty();
}

// Printers on one port at 127.0.0.2 (MAIN V1.00), .3 (MAIN V2.10) and .5
// (reporting error status 06).
class CliFleet : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PrinterSetup setup;
        setup.printer.restartMs = 500;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.endpoint.host = "127.0.0.2";
        first_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(first_.Start(error)) << error;
        port_ = first_.Port(0);

        setup.endpoint.port = port_;
        setup.endpoint.host = "127.0.0.3";
        setup.printer.mainVersion = "V2.10";
        rest_.AddPrinter(setup);
        setup.endpoint.host = "127.0.0.5";
        setup.printer.faults.errorStatus = 6;
        rest_.AddPrinter(setup);
        ASSERT_TRUE(rest_.Start(error)) << error;
    }

    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    std::string Lan(const std::string& host) { return host + ":" + std::to_string(port_); }
    // A Multi-LAN list file of the printers at these last address bytes.
    std::string List(const std::string& name, const std::vector<int>& hosts) {
        std::string text = "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n";
        for (int h : hosts)
            text += "127.0.0." + std::to_string(h) + "," + std::to_string(port_) + "\r\n";
        dir_.Write(name, text);
        return name;
    }
    // The settings of .2 with the display group ON and Contrast set to 7.
    std::string ContrastFile() {
        const ToolRun got = Tool({"--lan", Lan("127.0.0.2"), "get-params", "--out", "got.TSI"});
        EXPECT_EQ(got.exitCode, 0) << got.out << got.err;
        const std::string file = ReadAll(dir_.File("got.TSI"));
        dir_.Write("same.TSI", WithValue(file, "DISPLAY_GROUP", "ON"));
        dir_.Write("contrast.TSI",
                   WithValue(WithValue(file, "DISPLAY_GROUP", "ON"), "Contrast", "7"));
        return "contrast.TSI";
    }
    bool NothingWritten() {
        const std::vector<sim::LogEntry> entries = AllEntries();
        return !std::any_of(entries.begin(), entries.end(), IsSetCommand);
    }
    std::vector<sim::LogEntry> AllEntries() {
        std::vector<sim::LogEntry> all = first_.log().Entries();
        for (const auto& e : rest_.log().Entries()) all.push_back(e);
        return all;
    }

    TempDir dir_;
    sim::SimServer first_{Clock(0.01)};
    sim::SimServer rest_{Clock(0.01)};
    int port_ = 0;
};

}  // namespace rvq::test
