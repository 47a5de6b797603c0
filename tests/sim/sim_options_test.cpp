#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rvq::sim {
namespace {

using Kind = EndpointConfig::Kind;

TEST(SimOptions, EndpointsAndPerPrinterOptions) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions({"--model",
                                 "R-VQ6T2-T",
                                 "--restart-ms",
                                 "500",
                                 "--log",
                                 "/tmp/x.jsonl",
                                 "--lan",
                                 "127.0.0.1:0",
                                 "--error-status",
                                 "6",
                                 "--never-answer",
                                 "WS",
                                 "--pty",
                                 "--usb",
                                 "/tmp/u",
                                 "--usb-product",
                                 "0083",
                                 "--usb-serial",
                                 "A1",
                                 "--codes",
                                 "02,03,17",
                                 "--lan",
                                 "[::1]:9100",
                                 "--split",
                                 "4",
                                 "--garbage",
                                 "xx",
                                 "--drop-after",
                                 "7"},
                                options, error))
        << error;
    ASSERT_EQ(options.printers.size(), 4u);
    EXPECT_EQ(options.logPath, "/tmp/x.jsonl");
    for (const PrinterSetup& p : options.printers) {
        EXPECT_EQ(p.printer.model, "R-VQ6T2-T");
        EXPECT_EQ(p.printer.restartMs, 500);
    }
    const auto& lan = options.printers[0];
    EXPECT_EQ(lan.endpoint.kind, Kind::Lan);
    EXPECT_EQ(lan.endpoint.host, "127.0.0.1");
    EXPECT_EQ(lan.printer.faults.errorStatus, 6);
    EXPECT_EQ(lan.printer.faults.neverAnswer, std::vector<std::string>{"WS"});
    EXPECT_EQ(options.printers[1].endpoint.kind, Kind::Pty);
    EXPECT_EQ(options.printers[1].printer.faults.errorStatus, -1);
    const auto& usb = options.printers[2];
    EXPECT_EQ(usb.endpoint.kind, Kind::Usb);
    EXPECT_EQ(usb.endpoint.usbFolder, "/tmp/u");
    EXPECT_EQ(usb.endpoint.usbProductId, 83);
    EXPECT_EQ(usb.endpoint.usbSerial, "A1");
    ASSERT_TRUE(usb.printer.codes);
    EXPECT_EQ(*usb.printer.codes, (CodeSet{0x02, 0x03, 0x17}));
    const auto& v6 = options.printers[3];
    EXPECT_EQ(v6.endpoint.host, "::1");
    EXPECT_EQ(v6.endpoint.port, 9100);
    EXPECT_EQ(v6.printer.faults.splitBytes, 4u);
    EXPECT_EQ(v6.printer.faults.garbage, "xx");
    EXPECT_EQ(v6.printer.faults.dropAfterBytes, 7);
}

TEST(SimOptions, StoreDownloadAndMemoryOptions) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions({"--definitions",
                                 "defs.xml",
                                 "--any-mode",
                                 "--lan",
                                 "127.0.0.1:0",
                                 "--destination",
                                 "2",
                                 "--main-version",
                                 "N1.20",
                                 "--boot-version",
                                 "N1.00",
                                 "--datalog-bytes",
                                 "5000",
                                 "--program-ms",
                                 "100",
                                 "--basic-ms",
                                 "50",
                                 "--basic-status",
                                 "27",
                                 "--allocate-ms",
                                 "10",
                                 "--format-ms",
                                 "20",
                                 "--no-drive-voltage2",
                                 "--stale-versions",
                                 "--set-answer",
                                 "ZA00=92",
                                 "--set-answer",
                                 "ZW2=91",
                                 "--bad-length",
                                 "01x0",
                                 "--pty"},
                                options, error))
        << error;
    ASSERT_EQ(options.printers.size(), 2u);
    const PrinterConfig& p = options.printers[0].printer;
    EXPECT_EQ(p.definitionsPath, "defs.xml");
    EXPECT_TRUE(p.anyMode);
    EXPECT_EQ(p.destination, 2);
    EXPECT_EQ(p.mainVersion, "N1.20");
    EXPECT_EQ(p.bootVersion, "N1.00");
    EXPECT_EQ(p.dataLogBytes, 5000u);
    EXPECT_EQ(p.programMs, 100);
    EXPECT_EQ(p.basicProgramMs, 50);
    EXPECT_EQ(p.basicStatus, 27);
    EXPECT_EQ(p.allocateMs, 10);
    EXPECT_EQ(p.formatMs, 20);
    EXPECT_TRUE(p.lacksDriveVoltage2);
    EXPECT_TRUE(p.faults.staleVersions);
    EXPECT_EQ(p.faults.infoLengthField, "01x0");
    EXPECT_EQ(p.faults.SetAnswerFor("ZA00;+005,+000"), "92");
    EXPECT_EQ(p.faults.SetAnswerFor("ZW21;1"), "91");
    EXPECT_EQ(p.faults.SetAnswerFor("ZA08;1"), std::nullopt);
    // Options after an endpoint stay with it.
    const PrinterConfig& serial = options.printers[1].printer;
    EXPECT_TRUE(serial.anyMode);
    EXPECT_FALSE(serial.lacksDriveVoltage2);
    EXPECT_EQ(serial.destination, 0);
}

TEST(SimOptions, PrintersRepeatsEachEndpoint) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions(
        {"--printers", "3", "--lan", "127.0.0.1:9100", "--lan", "127.0.0.1:0"}, options, error));
    std::vector<int> ports;
    for (const auto& p : options.printers) ports.push_back(p.endpoint.port);
    EXPECT_EQ(ports, (std::vector<int>{9100, 9101, 9102, 0, 0, 0}));
}

TEST(SimOptions, StepAddressSpreadsAFleetOverLoopbackAddresses) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions(
        {"--printers", "3", "--step-address", "--lan", "127.1.0.254:8000", "--silent"}, options,
        error))
        << error;
    std::vector<std::string> hosts;
    for (const auto& p : options.printers) {
        hosts.push_back(p.endpoint.host);
        EXPECT_EQ(p.endpoint.port, 8000);
        EXPECT_TRUE(p.printer.faults.silent);
    }
    EXPECT_EQ(hosts, (std::vector<std::string>{"127.1.0.254", "127.1.0.255", "127.1.1.0"}));
}

TEST(SimOptions, BadCommandLinesAreRefused) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--model", "X"},
        {"--lan", "127.0.0.1"},
        {"--lan", "127.0.0.1:70000"},
        {"--lan", "127.0.0.1:0", "--codes", "1B,0A"},
        {"--lan", "127.0.0.1:0", "--codes", "1B,1B,00"},
        {"--lan", "127.0.0.1:0", "--codes", "1B,0A,100"},
        {"--lan", "127.0.0.1:0", "--late-ms", "5x"},
        {"--lan", "127.0.0.1:0", "--error-status", "100"},
        {"--lan", "127.0.0.1:0", "--split", "0"},
        {"--lan", "127.0.0.1:0", "--bank-type", "CN"},
        {"--lan", "127.0.0.1:0", "--frobnicate", "1"},
        {"--lan", "127.0.0.1:0", "--late-ms"},
        {"--printers", "0", "--lan", "127.0.0.1:0"},
        {"--printers", "2", "--lan", "127.0.0.1:65535"},
        {"--printers", "2", "--step-address", "--lan", "127.255.255.255:8000"},
        {"--step-address", "--lan", "10.0.0.1:8000"},
        {"--log-connections", "--lan", "127.0.0.1:0"},
        {"--lan", "127.0.0.1:0", "--destination", "10"},
        {"--lan", "127.0.0.1:0", "--set-answer", "ZA00"},
        {"--lan", "127.0.0.1:0", "--set-answer", "=92"},
        {"--lan", "127.0.0.1:0", "--set-answer", "ZA00=9"},
        {"--lan", "127.0.0.1:0", "--basic-status", "-1"},
    };
    for (const auto& args : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimOptions(args, options, error)) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace rvq::sim
