// rvqtool firmware, basic and send against in-process simulated printers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "rom_files.h"
#include "sim/sha256.h"
#include "sim/sim_server.h"
#include "sim_wire.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

class CliDownloads : public ::testing::Test {
protected:
    void Start(sim::EndpointConfig::Kind kind = sim::EndpointConfig::Kind::Lan) {
        sim::PrinterSetup setup;
        setup.printer.restartMs = 1000;
        setup.endpoint.kind = kind;
        setup.endpoint.usbFolder = dir_.File("usb");
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    ToolRun Tool(std::vector<std::string> args, const std::string& ini = "") {
        if (!ini.empty()) {
            dir_.Write("VQTool.INI", "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\n" + ini);
        }
        if (usb_) {
            args.insert(args.begin(), "--usb");
            return RunTool(args, dir_.path(),
                           {"RVQ_TIME_SCALE=0.01", "RVQ_SYSFS_ROOT=" + dir_.File("usb/sys"),
                            "RVQ_DEV_ROOT=" + dir_.File("usb/dev")});
        }
        args.insert(args.begin(), {"--lan", "127.0.0.1:" + std::to_string(server_.Port(0))});
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    std::vector<std::string> Commands() {
        std::vector<std::string> texts;
        for (const auto& e : server_.log().Entries()) {
            if (e.command.kind == sim::ReceivedCommand::Kind::Command)
                texts.push_back(e.command.text);
        }
        return texts;
    }
    std::vector<std::string> ProgrammedSections() {
        std::vector<std::string> sections;
        for (const auto& e : server_.log().Entries()) {
            if (e.command.text != "LP;" || !e.command.data) continue;
            const auto trailer = sim::ReadImageTrailer(*e.command.data);
            sections.push_back(trailer ? trailer->section : "?");
        }
        return sections;
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
    bool usb_ = false;
};

TEST_F(CliDownloads, FirmwareListsBySectionAsksFirstAndSendsInListOrder) {
    Start();
    dir_.Write("main.bin", RomFile(8, "MAIN", "V1.00"));
    dir_.Write("boot.bin", RomFile(4, "BOOT", "V1.00"));
    dir_.Write("other.bin", RomFile(4, "MAIN", "V1.00", "R-VQ6T2"));

    const ToolRun refused = Tool({"firmware", "main.bin", "boot.bin"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("BOOT\tV1.00\tboot.bin\nMAIN\tV1.00\tmain.bin\n"), std::string::npos)
        << refused.out;
    EXPECT_TRUE(server_.log().Entries().empty());

    const ToolRun wrongModel = Tool({"firmware", "other.bin", "--yes"});
    EXPECT_EQ(wrongModel.exitCode, 1);
    EXPECT_NE(wrongModel.err.find("the ROM file for the printer model different"),
              std::string::npos)
        << wrongModel.err;
    EXPECT_TRUE(server_.log().Entries().empty());

    const ToolRun run = Tool({"firmware", "main.bin", "boot.bin", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Firmware Download , Succeed"), std::string::npos);
    EXPECT_EQ(ProgrammedSections(), (std::vector<std::string>{"BOOT", "MAIN"}));
}

TEST_F(CliDownloads, MixedBanksOverUsbFailBeforeAnyImageIsSent) {
    usb_ = true;
    Start(sim::EndpointConfig::Kind::Usb);
    dir_.Write("boot.bin", RomFile(4, "BOOT", "V1.00"));
    dir_.Write("main2.bin", RomFile(8, "MAIN", "N1.00"));
    const ToolRun run = Tool({"firmware", "boot.bin", "main2.bin", "--yes"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Firmware Download , Fail , Processing error"), std::string::npos)
        << run.out << run.err;
    for (const std::string& command : Commands()) {
        EXPECT_NE(command.substr(0, 2), "LD") << "a load command went out";
        EXPECT_NE(command.substr(0, 2), "LP");
    }
}

TEST_F(CliDownloads, DownloadModeReplacesEveryQueryByTimedWaits) {
    usb_ = true;
    Start(sim::EndpointConfig::Kind::Usb);
    dir_.Write("main.bin", RomFile(8, "MAIN", "V2.00"));
    const ToolRun off = Tool({"firmware", "main.bin", "--download-mode", "--yes"});
    EXPECT_EQ(off.exitCode, 2);
    EXPECT_NE(off.err.find("download mode setting"), std::string::npos) << off.err;

    const ToolRun run = Tool({"firmware", "main.bin", "--download-mode", "--yes"},
                             "[DOWNLOAD MODE]\r\nDLMODE=1\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(Commands(), (std::vector<std::string>{"LD;", "LP;"}));
}

TEST_F(CliDownloads, BasicEncodesTheFilesAndRunsTheChosenSteps) {
    Start();
    const std::string loops = std::string(RVQ_FIXTURES_DIR) + "/basic/LOOPS.BAS";
    const ToolRun bad = Tool({"basic", "--alloc", "20,10,nochange", "--yes"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(Tool({"basic", "--yes"}).exitCode, 2);
    EXPECT_EQ(Tool({"basic", "--main-start", "2", "--yes"}).exitCode, 2);
    EXPECT_TRUE(server_.log().Entries().empty());

    const ToolRun run =
        Tool({"basic", "--alloc", "0,14,nochange", "--main", loops, "--main-start", "5", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const auto commands = Commands();
    // Ready check, allocation, the program, and the ready check after its restart.
    ASSERT_EQ(commands.size(), 5u) << ::testing::PrintToString(commands);
    EXPECT_EQ(commands[1], "XF;00,14,AA");
    EXPECT_EQ(commands[2].substr(0, 7), "LDB;05,");
    EXPECT_EQ(commands[3], "LP;");
    EXPECT_EQ(commands[4], "WS");
}

TEST_F(CliDownloads, SendDeliversTheFileAsItIs) {
    Start();
    std::string bytes(70000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 % 256);
    dir_.Write("data.prn", bytes);
    const ToolRun run = Tool({"send", "data.prn"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(sim::test::Eventually(
        [&] { return server_.ReceivedStream(0).first == static_cast<long long>(bytes.size()); },
        std::chrono::milliseconds(5000)));
    EXPECT_EQ(server_.ReceivedStream(0).second, sim::Sha256Hex(bytes));
}

// What cannot be read is refused with 1014 or 900, naming the file, on one
// line; a FIFO is not waited on; nothing goes to the printer.
TEST_F(CliDownloads, FilesThatCannotBeReadAreRefusedByName) {
    Start();
    ASSERT_EQ(::mkfifo(dir_.File("pipe").c_str(), 0600), 0);
    const std::string cannotRead =
        "Reading the specified file failed. Check if the file is readable.";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"send", "missing.prn"},
         "rvqtool: missing.prn: " + cannotRead + " (No such file or directory)\n"},
        {{"send", "pipe"}, "rvqtool: pipe: " + cannotRead + " (not a regular file)\n"},
        {{"firmware", "pipe", "--yes"}, "rvqtool: pipe: " + cannotRead + " (not a regular file)\n"},
        {{"basic", "--test-file", "pipe", "--yes"},
         "rvqtool: pipe: " + cannotRead + " (not a regular file)\n"},
        {{"firmware", "huge.bin", "--yes"},
         "rvqtool: huge.bin: The specified file is not a ROM file for the printer. Select the file "
         "in the proper "
         "format.\n"},
    };
    // Larger than any ROM image, yet taking no disk.
    { std::ofstream(dir_.File("huge.bin")) << ""; }
    std::filesystem::resize_file(dir_.File("huge.bin"), std::uintmax_t{1} << 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const ToolRun run = Tool(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_TRUE(server_.log().Entries().empty());
}

TEST_F(CliDownloads, BasicShowsTheEncoderMessagesOfTheBasicPage) {
    Start();
    const std::string source = dir_.Write("BAD.BAS", "10 FOR I=1 TO 2\r\n");
    const ToolRun bad = Tool({"basic", "--main", "BAD.BAS", "--yes"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(
        bad.err,
        "rvqtool: BAD.BAS: The BASIC program has an error. (\"1 : FOR and NEXT Error\") Check the "
        "program code.\n");
    const ToolRun missing = Tool({"basic", "--main", "NONE.BAS", "--yes"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(
        missing.err,
        "rvqtool: NONE.BAS: Reading the specified file failed. Check if the file is readable.\n");
    EXPECT_TRUE(server_.log().Entries().empty());
}

// On a serial line any answer but 56 after an image turns the wait into a
// plain wait of the whole time; the job then reconnects and checks the
// versions, which tell whether the printer took the image.
TEST_F(CliDownloads, ASerialPrinterThatAnswersOtherThan56IsGivenTheWholeTime) {
    sim::PrinterSetup setup;
    setup.printer.restartMs = 1000;
    setup.printer.faults.writtenStatus = 6;
    setup.endpoint.kind = sim::EndpointConfig::Kind::Pty;
    server_.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server_.Start(error)) << error;
    std::filesystem::create_directories(dir_.File("devices"));
    std::filesystem::create_symlink(server_.PtyPath(0), dir_.File("devices/COM3"));
    dir_.Write("main.bin", RomFile(4, "MAIN", "V2.50"));
    // A gentler scale: a serial chunk that takes 1 s (10 ms scaled) fails on a busy machine.
    const ToolRun run =
        RunTool({"--com", "3", "--line", "115200,N,8,1,0", "firmware", "main.bin", "--yes"},
                dir_.path(), {"RVQ_TIME_SCALE=0.05", "RVQ_DEVICE_DIR=" + dir_.File("devices")});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Firmware Download , Succeed"), std::string::npos) << run.out;
    EXPECT_EQ(ProgrammedSections(), (std::vector<std::string>{"MAIN"}));
}

}  // namespace
}  // namespace rvq::test
