// rvqtool get-params and set-params against in-process simulated printers,
// and the parameter jobs' restarts over USB.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "core/app/strings.h"
#include "core/platform/code_page.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq::test {
namespace {

// A message as rvqtool prints it: without the CRs meant for message boxes.
std::string Message(int id) {
    std::string text = Strings().Get(id);
    std::erase(text, '\r');
    return text;
}

// A text of the Japanese table the tool loads for LANGUAGE=JPN.
std::string Japanese(int id) {
    Strings strings;
    EXPECT_TRUE(strings.LoadOverlay(RVQ_SOURCE_DIR "/data/lang/VQTool_Jpn.strings"));
    return strings.Get(id);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Replaces the value of line "key=..." (the first one) in a settings file.
std::string WithValue(std::string file, const std::string& key, const std::string& value) {
    const std::size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return file + key + "=" + value + "\r\n";
    const std::size_t start = at + 3 + key.size();
    file.replace(start, file.find("\r\n", start) - start, value);
    return file;
}

std::string ValueOf(const std::string& file, const std::string& key) {
    const std::size_t at = file.find("\r\n" + key + "=");
    if (at == std::string::npos) return "(missing)";
    const std::size_t start = at + 3 + key.size();
    return file.substr(start, file.find("\r\n", start) - start);
}

const std::string kHeader =
    "[HEADER]\r\nTITLE=R-VQ "
    "Parameter\r\nVERSION=V001.000\r\nPRINTER=R-VQ4T1-T\r\nDESTINATION=QM\r\nSECURITY=0\r\n";

class CliParams : public ::testing::Test {
protected:
    void Start(int count) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.restartMs = 500;
            setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
            server_.AddPrinter(setup);
        }
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    std::string Lan(int index) { return "127.0.0.1:" + std::to_string(server_.Port(index)); }
    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(), {"RVQ_TIME_SCALE=0.01"});
    }
    // The parameter operations may be missing from this build: the job then
    // ends with "Processing error" and there is nothing to compare.
    static bool OperationUnavailable(const ToolRun& run) {
        return run.exitCode != 0 && Contains(run.out, Strings().Get(1528));
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
};

TEST_F(CliParams, UsageErrorsAndBadFilesStopBeforeThePrinter) {
    Start(1);
    const ToolRun noFile = Tool({"--lan", Lan(0), "set-params"});
    EXPECT_EQ(noFile.exitCode, 2);
    EXPECT_TRUE(Contains(noFile.err, "set-params needs a settings file")) << noFile.err;
    EXPECT_EQ(Tool({"--lan", Lan(0), "get-params", "--bogus"}).exitCode, 2);
    const ToolRun badGroup =
        Tool({"--lan", Lan(0), "get-params", "--out", "x.TSI", "--groups", "IMAGE_GROUP,NOPE"});
    EXPECT_EQ(badGroup.exitCode, 2);
    EXPECT_TRUE(Contains(badGroup.err, "'NOPE' is not a group of R-VQ4T1-T")) << badGroup.err;

    const ToolRun missing = Tool({"--lan", Lan(0), "set-params", "missing.TSI"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Contains(missing.err, Message(898))) << missing.err;

    std::string wrongTitle = kHeader + "[GROUP]\r\nDISPLAY_GROUP=ON\r\n";
    wrongTitle.replace(wrongTitle.find("R-VQ Parameter"), 14, "R-VQ PARAMETER");
    dir_.Write("title.TSI", wrongTitle);
    const ToolRun title = Tool({"--lan", Lan(0), "set-params", "title.TSI", "--yes"});
    EXPECT_EQ(title.exitCode, 1);
    EXPECT_TRUE(Contains(title.err, Message(898))) << title.err;

    dir_.Write(
        "codes.TSI",
        kHeader +
            "[GROUP]\r\nCOMMAND_GROUP=ON\r\n[ITEM]\r\nControlCode=Manual\r\nManualCode1=1B\r\n"
            "ManualCode2=1B\r\nManualCode3=0A\r\n");
    const ToolRun codes = Tool({"--lan", Lan(0), "set-params", "codes.TSI", "--yes"});
    EXPECT_EQ(codes.exitCode, 1);
    EXPECT_TRUE(Contains(codes.err, Message(1001))) << codes.err;

    dir_.Write("display.TSI", kHeader + "[GROUP]\r\nDISPLAY_GROUP=ON\r\n[ITEM]\r\nContrast=7\r\n");
    const ToolRun refused =
        Tool({"--lan", Lan(0), "set-params", "display.TSI"});  // no terminal: No
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Contains(refused.out, Message(1302))) << refused.out;

    dir_.Write("off.TSI", kHeader + "[GROUP]\r\nDISPLAY_GROUP=OFF\r\n[ITEM]\r\nContrast=7\r\n");
    const ToolRun nothing = Tool({"--lan", Lan(0), "set-params", "off.TSI", "--yes"});
    EXPECT_EQ(nothing.exitCode, 0) << nothing.err;
    EXPECT_TRUE(Contains(nothing.out, "nothing to set")) << nothing.out;

    EXPECT_TRUE(server_.log().Entries().empty()) << "no run reached the printer";
}

TEST_F(CliParams, GetEditSetGetAgainOnOnePrinterAndAMultiLanList) {
    Start(2);
    const ToolRun got = Tool({"--lan", Lan(0), "get-params", "--out", "a.TSI"});
    if (OperationUnavailable(got))
        GTEST_SKIP() << "Get Parameter is not available in this build: " << got.out;
    ASSERT_EQ(got.exitCode, 0) << got.out << got.err;
    const std::string file = ReadAll(dir_.File("a.TSI"));
    EXPECT_EQ(ValueOf(file, "SECURITY"), "0");
    EXPECT_EQ(ValueOf(file, "DISPLAY_GROUP"), "OFF");
    EXPECT_EQ(server_.Mode(0), sim::PrinterMode::Vpcl) << "brought back online";

    const std::size_t before = server_.log().Entries().size();
    const ToolRun unchanged = Tool({"--lan", Lan(0), "set-params", "a.TSI", "--yes"});
    EXPECT_EQ(unchanged.exitCode, 0);
    EXPECT_TRUE(Contains(unchanged.out, "nothing to set"));
    EXPECT_EQ(server_.log().Entries().size(), before)
        << "a file straight from the printer changes nothing";

    const std::string contrast = ValueOf(file, "Contrast") == "7" ? "8" : "7";
    dir_.Write("b.TSI", WithValue(WithValue(file, "DISPLAY_GROUP", "ON"), "Contrast", contrast));
    const ToolRun set = Tool({"--lan", Lan(0), "set-params", "b.TSI", "--yes"});
    if (OperationUnavailable(set))
        GTEST_SKIP() << "Set Parameter is not available in this build: " << set.out;
    ASSERT_EQ(set.exitCode, 0) << set.out << set.err;
    EXPECT_TRUE(Contains(set.out, "Restore to Online , Succeed")) << set.out;
    EXPECT_EQ(server_.Mode(0), sim::PrinterMode::Vpcl);

    ASSERT_EQ(Tool({"--lan", Lan(0), "get-params", "--out", "c.TSI"}).exitCode, 0);
    const std::string again = ReadAll(dir_.File("c.TSI"));
    EXPECT_EQ(ValueOf(again, "Contrast"), contrast);
    EXPECT_EQ(WithValue(WithValue(again, "Contrast", "x"), "DISPLAY_GROUP", "x"),
              WithValue(WithValue(file, "Contrast", "x"), "DISPLAY_GROUP", "x"))
        << "nothing else changed";

    dir_.Write("list.txt", "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n127.0.0.1," +
                               std::to_string(server_.Port(1)) + "\r\n127.0.0.1," +
                               std::to_string(server_.Port(0)) + "\r\n");
    const ToolRun multi = Tool({"--multi-lan", "list.txt", "set-params", "b.TSI", "--yes"});
    EXPECT_EQ(multi.exitCode, 0) << multi.out << multi.err;
    EXPECT_TRUE(Contains(multi.out, "2 succeeded, 0 failed")) << multi.out;
    ASSERT_EQ(Tool({"--lan", Lan(1), "get-params", "--out", "d.TSI"}).exitCode, 0);
    EXPECT_EQ(ValueOf(ReadAll(dir_.File("d.TSI")), "Contrast"), contrast);
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A loopback port nothing listens on now.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

TEST_F(CliParams, TheJobLogHoldsEveryJobOfTheCommand) {
    Start(2);
    ASSERT_EQ(Tool({"--lan", Lan(0), "get-params", "--out", "a.TSI", "--groups", "DISPLAY_GROUP"})
                  .exitCode,
              0);
    const std::string file = ReadAll(dir_.File("a.TSI"));
    dir_.Write("b.TSI", WithValue(file, "Contrast", ValueOf(file, "Contrast") == "7" ? "8" : "7"));
    sim::FaultPlan refuses;
    refuses.setAnswers = {{"ZA08", "92"}};
    server_.SetFaults(0, refuses);
    const ToolRun set = Tool({"--lan", Lan(0), "--log", "set.csv", "set-params", "b.TSI", "--yes"});
    EXPECT_EQ(set.exitCode, 1) << set.out << set.err;
    const std::string log = ReadAll(dir_.File("set.csv"));
    EXPECT_EQ(log.rfind("Date,Time,Interface,Processing,Process,Detailed status\r\n", 0), 0u)
        << log;
    EXPECT_EQ(Count(log, "Date,Time,"), 1) << log;
    // The failed set first, then the restore that followed it.
    std::size_t at = 0;
    for (const char* line :
         {",127.0.0.1,Set Parameter,Start\r\n",
          ",127.0.0.1,Set Parameter,Fail,Updating the printer settings failed.",
          ",127.0.0.1,Restore to Online,Start\r\n", ",127.0.0.1,Restore to Online,Succeed\r\n"}) {
        at = log.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in order in\n" << log;
    }

    dir_.Write("list.txt", "[HEADER]\r\nMulti LAN Setting\r\nV001.000\r\n[LIST]\r\n127.0.0.1," +
                               std::to_string(server_.Port(0)) + "\r\n127.0.0.1," +
                               std::to_string(server_.Port(1)) + "\r\n");
    const ToolRun canary =
        Tool({"--multi-lan", "list.txt", "--canary", "1", "--log", "canary.csv", "restore-online"});
    EXPECT_EQ(canary.exitCode, 0) << canary.out << canary.err;
    const std::string stages = ReadAll(dir_.File("canary.csv"));
    EXPECT_EQ(Count(stages, "Date,Time,"), 1) << stages;
    EXPECT_EQ(Count(stages, ",[127.0.0.1],Restore to Online,Succeed\r\n"), 2) << "both stages:\n"
                                                                              << stages;
}

// The printer took a new port once it acknowledged it: a read-back that
// fails afterwards must not leave the tool on the old one.
TEST_F(CliParams, AnAcknowledgedPortChangeIsKeptAndARefusedOneDropped) {
    Start(1);
    server_.Configure(0, [](sim::SimPrinter& p) { p.config().followsPortNumber = true; });
    const std::string ini =
        "[HEADER]\r\nTITLE=R-VQ Setting "
        "Tool\r\n[PRINTER]\r\nDEVICE=LAN\r\n[LAN]\r\nNAME=127.0.0.1\r\nPORT=";
    dir_.Write("VQTool.INI", ini + std::to_string(server_.Port(0)) + "\r\n");
    ASSERT_EQ(Tool({"get-params", "--out", "a.TSI", "--groups", "PROTOCOL_GROUP"}).exitCode, 0);
    const std::string file = ReadAll(dir_.File("a.TSI"));

    const int next = FreePort();
    dir_.Write("b.TSI", WithValue(file, "PortNumber", std::to_string(next)));
    sim::FaultPlan noReadBack;
    noReadBack.neverAnswer = {"ZWR"};  // every set is taken; the read-back is never answered
    server_.SetFaults(0, noReadBack);
    const ToolRun set = Tool({"set-params", "b.TSI", "--yes"});
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_TRUE(Contains(set.out, "Set Parameter , Fail , " + Strings().Get(1520))) << set.out;
    EXPECT_TRUE(
        Contains(set.out, "After Restore to Online the tool connects to it at LAN 127.0.0.1," +
                              std::to_string(next) + "."))
        << set.out;
    EXPECT_TRUE(Contains(set.out, "Restore to Online , Succeed")) << set.out << set.err;
    EXPECT_EQ(server_.Port(0), next) << "the printer listens on its new port";
    EXPECT_TRUE(
        Contains(ReadAll(dir_.File("VQTool.INI")), "PORT=" + std::to_string(next) + "\r\n"));

    sim::FaultPlan refusesPort;
    refusesPort.setAnswers = {{"ZW04", "92"}};
    server_.SetFaults(0, refusesPort);
    dir_.Write("c.TSI", WithValue(file, "PortNumber", std::to_string(FreePort())));
    const ToolRun refused = Tool({"set-params", "c.TSI", "--yes"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(Contains(refused.out, "The tool keeps connecting to it at LAN 127.0.0.1," +
                                          std::to_string(next) + "."))
        << refused.out;
    EXPECT_TRUE(Contains(refused.out, "Restore to Online , Succeed")) << refused.out << refused.err;
    EXPECT_EQ(server_.Port(0), next);
    EXPECT_TRUE(
        Contains(ReadAll(dir_.File("VQTool.INI")), "PORT=" + std::to_string(next) + "\r\n"));
}

// What no page could hold never reaches the printer: the file is refused
// with the item, its page and the value, exit 2.
TEST_F(CliParams, ValuesNoPageCouldHoldAreRefusedBeforeAnythingIsSent) {
    Start(1);
    ASSERT_EQ(Tool({"--lan", Lan(0), "get-params", "--out", "a.TSI", "--groups", "DISPLAY_GROUP"})
                  .exitCode,
              0);
    const std::string file = ReadAll(dir_.File("a.TSI"));
    const struct {
        const char* key;
        const char* value;
        const char* message;
    } cases[] = {
        {"Contrast", "-5",
         "The value \"-5\" for \"Contrast\" on the General tab page cannot be set.\n"
         "Enter a number from 0 to 10.\n"},
        {"LCDLanguage", "Klingon",
         "The value \"Klingon\" for \"LCD Language (LCDLanguage)\" on the General tab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        dir_.Write("bad.TSI", WithValue(file, c.key, c.value));
        const std::size_t before = server_.log().Entries().size();
        for (const char* command : {"set-params", "diff"}) {
            const ToolRun run = Tool({"--lan", Lan(0), command, "bad.TSI", "--yes"});
            EXPECT_EQ(run.exitCode, 2) << command << ": " << run.out << run.err;
            EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        }
        EXPECT_EQ(server_.log().Entries().size(), before) << "nothing was sent";
    }
}

// Under the Japanese interface: a file's English list labels pass the
// read-back, and double-byte texts travel both ways.
TEST_F(CliParams, JapaneseInterfaceSetsEnglishLabelsAndDoubleByteTexts) {
    Start(1);
    dir_.Write("VQTool.INI",
               "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\n[LANGUAGE]\r\nLANGUAGE=JPN\r\n");
    const ToolRun got = Tool({"--lan", Lan(0), "get-params", "--out", "a.TSI", "--groups",
                              "DISPLAY_GROUP,SERVER_GROUP"});
    ASSERT_EQ(got.exitCode, 0) << got.out << got.err;
    // The job lines follow the interface language.
    EXPECT_TRUE(Contains(got.out, Japanese(785) + " , ")) << got.out;
    const std::string file = FromCodePage(ReadAll(dir_.File("a.TSI")), CodePage::Japanese932);
    EXPECT_EQ(ValueOf(file, "LCDLanguage"), "English") << "files hold English labels";

    const std::string host =
        "\xE3\x83\xA9\xE3\x83\x99\xE3\x83\xAB\xE5\x8D\xB0\xE5\x88\xB7";  // ラベル印刷
    std::string edited =
        WithValue(WithValue(file, "DHCPHostName", "\"" + host + "\""), "Contrast", "9");
    dir_.Write("b.TSI", ToCodePage(edited, CodePage::Japanese932));
    const ToolRun set = Tool({"--lan", Lan(0), "--log", "set.csv", "set-params", "b.TSI", "--yes"});
    EXPECT_EQ(set.exitCode, 0) << set.out << set.err;

    const ToolRun again =
        Tool({"--lan", Lan(0), "get-params", "--out", "c.TSI", "--groups", "SERVER_GROUP"});
    ASSERT_EQ(again.exitCode, 0) << again.out << again.err;
    const std::string read = FromCodePage(ReadAll(dir_.File("c.TSI")), CodePage::Japanese932);
    EXPECT_EQ(ValueOf(read, "DHCPHostName"), "\"" + host + "\"");

    // A printer that counts a double-byte character as one is read alike.
    sim::FaultPlan characters;
    characters.lengthsInCharacters = true;
    server_.SetFaults(0, characters);
    const ToolRun counted =
        Tool({"--lan", Lan(0), "get-params", "--out", "d.TSI", "--groups", "SERVER_GROUP"});
    ASSERT_EQ(counted.exitCode, 0) << counted.out << counted.err;
    EXPECT_EQ(FromCodePage(ReadAll(dir_.File("d.TSI")), CodePage::Japanese932), read);
    const std::string log = FromCodePage(ReadAll(dir_.File("set.csv")), CodePage::Japanese932);
    EXPECT_TRUE(Contains(log, "," + Japanese(786) + "," + Japanese(1501))) << log;
}

// Jobs that make a USB printer restart: the reopen after the restart must
// find the answer the printer has waiting.
class CliUsbJobs : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PrinterSetup setup;
        setup.printer.restartMs = 500;
        setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
        setup.endpoint.kind = sim::EndpointConfig::Kind::Usb;
        setup.endpoint.usbFolder = dir_.File("usb");
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    ToolRun Tool(const std::vector<std::string>& args) {
        return RunTool(args, dir_.path(),
                       {"RVQ_TIME_SCALE=0.01", "RVQ_SYSFS_ROOT=" + dir_.File("usb/sys"),
                        "RVQ_DEV_ROOT=" + dir_.File("usb/dev")});
    }

    sim::SimServer server_{Clock(0.01)};
    TempDir dir_;
};

TEST_F(CliUsbJobs, JobsThatRestartThePrinterReconnectAndReadItsModeReply) {
    const ToolRun restore = Tool({"--usb", "restore-online", "--restart"});
    EXPECT_EQ(restore.exitCode, 0) << restore.out << restore.err;
    EXPECT_TRUE(Contains(restore.out, "Restore to Online , Succeed")) << restore.out;

    const ToolRun cleared = Tool({"--usb", "counter-clear", "all", "--yes"});
    EXPECT_EQ(cleared.exitCode, 0) << cleared.out << cleared.err;
    EXPECT_TRUE(Contains(cleared.out, "Maintenance Counter Clear , Succeed")) << cleared.out;

    ASSERT_EQ(Tool({"--usb", "get-params", "--out", "a.TSI", "--groups", "DISPLAY_GROUP"}).exitCode,
              0);
    const std::string file = ReadAll(dir_.File("a.TSI"));
    dir_.Write("b.TSI", WithValue(file, "Contrast", ValueOf(file, "Contrast") == "7" ? "8" : "7"));
    const ToolRun set = Tool({"--usb", "set-params", "b.TSI", "--yes"});
    EXPECT_EQ(set.exitCode, 0) << set.out << set.err;
    EXPECT_TRUE(Contains(set.out, "Set Parameter , Succeed")) << set.out;
    EXPECT_TRUE(Contains(set.out, "Restore to Online , Succeed")) << set.out;
    EXPECT_EQ(server_.Mode(0), sim::PrinterMode::Vpcl);
}

}  // namespace
}  // namespace rvq::test
