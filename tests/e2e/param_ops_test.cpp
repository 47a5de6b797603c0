// Get and Set Parameter against simulated printers on loopback: every group
// of every model of the definition file written, verified and read back,
// the failure lines of a refused and an ignored set, and three printers
// sharing one model at once.
#include <gtest/gtest.h>

#include "support/recording_job_events.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <array>
#include <set>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_definition.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/parameter_inputs.h"
#include "core/params/item_kind.h"
#include "core/params/item_values.h"
#include "core/params/value_codecs.h"
#include "sim/sim_server.h"

namespace rvq {
namespace {

constexpr double kScale = 0.01;
const std::string kDataFolder = RVQ_SOURCE_DIR "/data";
const std::string kDefinitions = kDataFolder + "/VQTool_Printer.XML";
namespace kind = params::kind;

// A valid value other than the item's default, by its kind; false when the
// item takes no value of its own (read-only).
bool GiveOtherValue(ParamItem& item, const std::string& uploadFile) {
    const int k = item.kind;
    if (k == kind::kReadOnly) return false;
    if (k == kind::kFile) {
        item.textValue = uploadFile;
    } else if (k == kind::kList) {
        if (item.labels.size() < 2) return false;
        const int shown = params::SelectedIndex(item, params::ShownLanguage::English);
        item.textValue = item.labels[static_cast<std::size_t>(shown + 1) % item.labels.size()];
    } else if (k == kind::kIpAddress) {
        item.textValue = item.textDefault == "10.20.30.40" ? "10.20.30.41" : "10.20.30.40";
    } else if (k == kind::kDate) {
        item.textValue = "25,06,15";
    } else if (k == kind::kTime) {
        item.textValue = "10,20,30";
    } else if (params::HoldsNumber(k)) {
        int value = item.numDefault + 1;
        if (item.maxValue > item.minValue && value > item.maxValue) value = item.numDefault - 1;
        item.numValue = value;
        params::SetValueText(item, params::CommandText(item));
    } else if (k == kind::kHexByte) {
        item.textValue = item.textDefault == "5A" ? "A5" : "5A";
    } else {
        // Letters and digits, which every text kind takes, hex included.
        const std::size_t longest =
            item.maxLength > 0 ? static_cast<std::size_t>(item.maxLength) : 8;
        std::size_t length =
            std::max<std::size_t>(std::min<std::size_t>(8, longest),
                                  static_cast<std::size_t>(std::max(item.minLength, 0)));
        std::string text;
        while (text.size() < length) text += (k & kind::kHexText) ? "0A1B2C3D" : "Rv9Q7t5S";
        text.resize(length);
        if (text == item.textDefault) text[0] = (k & kind::kHexText) ? 'E' : 'X';
        item.textValue = text;
    }
    return true;
}

std::string HexOf(const std::string& text) {
    std::string hex;
    for (unsigned char c : text) hex += Format("%02X", c);
    return hex;
}

// A text the set sends as hex digits because it was not typed as hex:
// a hex-text param without a hex-entry param set to "HEX" before it.
bool SentAsHex(const PrinterModel& model, const std::string& name) {
    for (const ParamGroup& group : model.groups) {
        for (const SetCommand& command : group.setCommands) {
            bool hexEntry = false;
            for (std::size_t i = 0; i < command.paramNames.size() && i < command.paramTypes.size();
                 ++i) {
                const int type = command.paramTypes[i];
                const ParamItem* item = FindItem(model, command.paramNames[i]);
                if ((type == 11 || type == 22) && item != nullptr)
                    hexEntry = params::SelectedEnglishLabel(*item) == "HEX";
                if ((type == 12 || type == 23) && command.paramNames[i] == name) return !hexEntry;
            }
        }
    }
    return false;
}

// The four authentication lists form one code on the wire; only the
// combinations of that code are values a printer can hold.
void UseAuthenticationCode(PrinterModel& model, int code) {
    const std::array<int, 4> parts = params::SplitAuthentication(code);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        ParamItem* item = FindItem(model, "Authentication-" + std::to_string(i + 1));
        if (item != nullptr && static_cast<std::size_t>(parts[i]) < item->labels.size())
            item->textValue = item->labels[static_cast<std::size_t>(parts[i])];
    }
}

bool IsPasswordItem(const std::string& name) {
    return name == "NewPassword" || name == "OldPassword" || name == "RFID_NewPassword" ||
           name == "RFID_CurrentPassword";
}

// Simulated printers of one model and a tool context to run jobs with.
struct Bench {
    Bench() { ::setenv("RVQ_TIME_SCALE", "0.01", 1); }
    ~Bench() { server.Stop(); }

    // `count` printers of `model`, each on its own port.
    bool StartPrinters(const std::string& model, int count) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.model = model;
            setup.printer.definitionsPath = kDefinitions;
            setup.printer.restartMs = 1000;
            server.AddPrinter(setup);
        }
        std::string error;
        const bool started = server.Start(error);
        EXPECT_TRUE(started) << error;
        return started;
    }
    void UseLan(int index) {
        context.settings.interfaceName = "LAN";
        context.settings.lanHost = "127.0.0.1";
        context.settings.lanPort = server.Port(index);
    }
    void UseMultiLan(int count) {
        context.settings.interfaceName = "Multi LAN";
        for (int i = 0; i < count; ++i) {
            context.settings.multiLanHosts.emplace_back("127.0.0.1");
            context.settings.multiLanPorts.push_back(server.Port(i));
        }
    }
    // Runs a job to its end; the overall result.
    int Run(Document& document, const std::shared_ptr<JobInputs>& inputs) {
        JobRunner runner(context, document.sharedJobLog(), MakeOperationExecutor(context, document),
                         events);
        EXPECT_TRUE(runner.Start(inputs));
        EXPECT_TRUE(runner.WaitForWorkers(600000));
        return runner.overallResult();
    }
    std::vector<std::string> CommandsOf(int printer, std::size_t from = 0) {
        std::vector<std::string> texts;
        const auto entries = server.log().Entries();
        for (std::size_t i = from; i < entries.size(); ++i) {
            if (entries[i].printer == printer) texts.push_back(entries[i].command.text);
        }
        return texts;
    }
    std::string LastLine(int printer) {
        const auto lines = events.Lines(printer);
        return lines.empty() ? std::string() : lines.back();
    }

    test::TempDir dir;
    sim::SimServer server{Clock(kScale)};
    AppContext context;
    test::RecordingJobEvents events;
};

std::unique_ptr<Document> LoadDocument(const std::string& model) {
    auto document = std::make_unique<Document>();
    EXPECT_TRUE(document->OnNewDocument(kDefinitions, model, "QM")) << model;
    return document;
}

std::shared_ptr<JobInputs> SetAllGroups(const PrinterModel& model) {
    std::vector<int> ids;
    for (const ParamGroup& group : model.groups) ids.push_back(group.checkBoxId);
    return SetParameterJobInputs(ids);
}

std::shared_ptr<JobInputs> GetAll(const PrinterModel& model) {
    return GetParameterJobInputs(model.getCommandIndexes);
}

// Writes every group of `modelName` with other values (service items
// included), then reads them into a fresh model and compares every item.
void RoundTrip(const std::string& modelName) {
    Bench bench;
    if (!bench.StartPrinters(modelName, 1)) return;
    bench.UseLan(0);
    bench.context.serviceMode = ServiceMode::Full;
    const std::string upload = bench.dir.Write("upload.bin", "certificate bytes of " + modelName);

    const auto written = LoadDocument(modelName);
    if (written->model() == nullptr) return;
    PrinterModel& model = *written->model();
    std::vector<std::string> changed;
    for (ParamItem& item : model.items) {
        if (GiveOtherValue(item, upload)) changed.push_back(item.name);
    }
    ASSERT_FALSE(changed.empty());
    UseAuthenticationCode(model, 9);
    ASSERT_EQ(bench.Run(*written, SetAllGroups(model)), sid::kStatusSucceed) << bench.LastLine(0);
    EXPECT_EQ(bench.LastLine(0), "Set Parameter , Succeed");
    EXPECT_EQ(bench.context.settingModeState, SettingModeState::AfterChange);

    // Still in setting mode: the get asks for no status and enters nothing.
    const std::size_t before = bench.server.log().Entries().size();
    const auto read = LoadDocument(modelName);
    ASSERT_EQ(bench.Run(*read, GetAll(*read->model())), sid::kStatusSucceed) << bench.LastLine(0);
    for (const std::string& command : bench.CommandsOf(0, before)) {
        EXPECT_NE(command, "WS");
        EXPECT_NE(command, "ZSS");
    }
    for (const std::string& name : changed) {
        const ParamItem& sent = *FindItem(model, name);
        const ParamItem& got = *FindItem(*read->model(), name);
        // Never reported, or not on this printer (and so never sent).
        if (sent.offset < 0 || sent.kind == kind::kFile ||
            (sent.flag & item_flag::kNotOnPrinter) != 0)
            continue;
        SCOPED_TRACE(name);
        EXPECT_EQ(got.flag & item_flag::kNotOnPrinter, 0);
        if (IsPasswordItem(name)) {
            EXPECT_EQ(got.textValue, "5813");
            continue;
        }
        if (params::HoldsNumber(sent.kind)) {
            EXPECT_EQ(got.numValue, sent.numValue);
        } else if (SentAsHex(model, name)) {
            // A model that did not send it shows the printer's form.
            EXPECT_EQ(got.textValue, HexOf(sent.textValue));
        } else {
            EXPECT_EQ(got.textValue, sent.textValue);
        }
    }
}

TEST(ParamOps, EveryGroupOfEveryModelIsWrittenVerifiedAndReadBack) {
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(kDefinitions, "", &names);
    ASSERT_FALSE(names.empty());
    for (const std::string& name : std::set<std::string>(names.begin(), names.end())) {
        SCOPED_TRACE(name);
        RoundTrip(name);
    }
}

TEST(ParamOps, RefusedAndIgnoredSetsFailWithTheirGroup) {
    Bench bench;
    const struct {
        const char* name;
        sim::FaultPlan faults;
        bool readBack;
    } cases[] = {
        {"refused",
         [] {
             sim::FaultPlan f;
             f.setAnswers = {{"ZA04", "92"}};
             return f;
         }(),
         false},
        {"ignored",
         [] {
             sim::FaultPlan f;
             f.neverAnswer = {"ZA04"};
             return f;
         }(),
         true},
    };
    bench.StartPrinters("R-VQ4T1-T", 2);
    for (int i = 0; i < 2; ++i) bench.server.SetFaults(i, cases[i].faults);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(cases[i].name);
        bench.UseLan(i);
        bench.context.settingModeState = SettingModeState::Online;
        const auto document = LoadDocument("R-VQ4T1-T");
        ParamItem& code = *FindItem(*document->model(), "CharacterCode");
        ASSERT_TRUE(GiveOtherValue(code, ""));
        EXPECT_EQ(bench.Run(*document, SetParameterJobInputs({4000})), sid::kStatusFail);
        EXPECT_EQ(bench.LastLine(0),
                  "Set Parameter , Fail , Updating the printer settings "
                  "failed.(General/Image/Character Code)");
        const auto commands = bench.CommandsOf(i);
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "ZA"), cases[i].readBack ? 1 : 0);
        // The printer is left in setting mode for a later restore.
        EXPECT_EQ(bench.context.settingModeState, SettingModeState::AfterChange);
        EXPECT_EQ(bench.server.Mode(i), sim::PrinterMode::Setting);
    }
}

int ContrastField(const PrinterModel& model) { return FindItem(model, "Contrast")->offset; }

TEST(ParamOps, ThreePrintersShareTheModelAndEachLeavesItsSettingMode) {
    Bench bench;
    bench.StartPrinters("R-VQ4T1-T", 3);
    bench.UseMultiLan(3);
    const auto document = LoadDocument("R-VQ4T1-T");
    PrinterModel& model = *document->model();
    for (ParamItem& item : model.items) std::ignore = GiveOtherValue(item, "");
    UseAuthenticationCode(model, 9);
    // Not the protocol group: its one port number for every printer of the
    // list would move them all there on their restart, as it would real ones.
    std::vector<int> groups;
    for (const ParamGroup& group : model.groups) {
        if (group.name != "PROTOCOL_GROUP") groups.push_back(group.checkBoxId);
    }
    ASSERT_EQ(groups.size() + 1, model.groups.size());
    ASSERT_EQ(bench.Run(*document, SetParameterJobInputs(groups)), sid::kStatusSucceed)
        << bench.LastLine(0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bench.LastLine(i), "[127.0.0.1]Set Parameter , Succeed");
        EXPECT_EQ(bench.server.Mode(i), sim::PrinterMode::Vpcl);
        std::string contrast;
        bench.server.Inspect(i, [&](const sim::SimPrinter& p) {
            contrast = *p.store().Field(0, ContrastField(model));
        });
        EXPECT_EQ(ParseLeadingInt(contrast), FindItem(model, "Contrast")->numValue);
        // The job ends leaving the setting mode with a restart; only status
        // requests follow while the printer comes back.
        const auto commands = bench.CommandsOf(i);
        const auto leave = std::find(commands.begin(), commands.end(), "ZSE");
        ASSERT_NE(leave, commands.end());
        EXPECT_TRUE(
            std::all_of(leave + 1, commands.end(), [](const std::string& c) { return c == "WS"; }));
    }
    EXPECT_EQ(bench.context.settingModeState, SettingModeState::Online);

    // Each printer now reports its own contrast; the model ends with one
    // printer's value, its read and page values from the same reply.
    const int offset = ContrastField(model);
    for (int i = 0; i < 3; ++i) {
        bench.server.Configure(
            i, [&](sim::SimPrinter& p) { *p.store().Field(0, offset) = std::to_string(i + 1); });
    }
    ASSERT_EQ(bench.Run(*document, GetAll(model)), sid::kStatusSucceed);
    const ParamItem& contrast = *FindItem(model, "Contrast");
    EXPECT_GE(contrast.numValue, 1);
    EXPECT_LE(contrast.numValue, 3);
    EXPECT_EQ(contrast.numRead, contrast.numValue);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bench.LastLine(i), "[127.0.0.1]Get Parameter , Succeed");
}

}  // namespace
}  // namespace rvq
