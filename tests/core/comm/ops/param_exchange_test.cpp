// The parameter exchanges of Get and Set Parameter against a scripted
// printer: what is sent, what lands in the model, what a failure logs.
#include "core/comm/ops/param_exchange.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

#include <atomic>
#include <cstring>
#include <deque>
#include <optional>

#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/port/command_channel.h"
#include "core/params/item_kind.h"

namespace rvq {
namespace {

using namespace std::string_literals;
namespace kind = params::kind;

// Answers each Transact with the next scripted reply (nothing: a time-out)
// and keeps every command it was sent, unframed.
class ScriptedPrinter : public TransactPort {
public:
    void Answer(const std::vector<std::string>& fields) { replies_.emplace_back(Frame(fields)); }
    void Silent() { replies_.emplace_back(std::nullopt); }

    bool Read(unsigned char*, std::size_t, int, std::size_t& count) override {
        count = 0;
        return false;
    }
    bool Write(const unsigned char*, std::size_t, int) override { return true; }
    bool Transact(const unsigned char* command, std::size_t length, unsigned char* reply,
                  std::size_t capacity, std::size_t& replyLength, int) override {
        // ESC ... LF NUL
        sent.emplace_back(reinterpret_cast<const char*>(command) + 1, length - 3);
        replyLength = 0;
        std::optional<std::string> next;
        if (!replies_.empty()) {
            next = replies_.front();
            replies_.pop_front();
        }
        if (!next) {
            status_ = PortStatus::TimedOut;
            return false;
        }
        replyLength = std::min(next->size(), capacity);
        std::memcpy(reply, next->data(), replyLength);
        status_ = PortStatus::Idle;
        return true;
    }
    PortStatus status() const override { return status_; }
    std::uint32_t lastError() const override { return 0; }

    std::vector<std::string> sent;

private:
    static std::string Frame(const std::vector<std::string>& fields) {
        std::string body;
        for (const std::string& field : fields) body += Format("%04zu", field.size()) + field;
        return "\x01\x02"s + "R0000" + Format("%04zu", body.size()) + body + "\x03\x04\r\n";
    }

    std::deque<std::optional<std::string>> replies_;
    PortStatus status_ = PortStatus::Idle;
};

struct Sink : JobSink {
    std::vector<std::string> lines;
    std::vector<int> progress;
    void Line(int, const std::string&, const std::string& display) override {
        lines.push_back(display);
    }
    void Progress(int, int percent) override { progress.push_back(percent); }
};

ParamItem Item(const std::string& name, int itemKind, int getCommand, int offset, int messageId) {
    ParamItem item;
    item.name = name;
    item.kind = itemKind;
    item.getCmdIndex = getCommand;
    item.offset = offset;
    item.messageId = messageId;
    return item;
}

ParamItem List(const std::string& name, int getCommand, std::vector<std::string> labels,
               const std::string& text) {
    ParamItem item = Item(name, kind::kList, getCommand, 1, 0);
    for (std::size_t i = 0; i < labels.size(); ++i) item.commandCodes.push_back(std::to_string(i));
    item.labels = labels;
    item.labelsJpn = std::move(labels);
    item.textValue = item.textDefault = text;
    return item;
}

// Two groups on General, the clock and the control codes on General (2).
PrinterModel TestModel() {
    PrinterModel model;
    ParamItem characterCode = List("CharacterCode", 0, {"PC-850", "PC-8", "PC-852"}, "PC-850");
    characterCode.messageId = 3001;
    ParamItem contrast = Item("Contrast", kind::kNumeric, 0, 2, 3002);
    contrast.numValue = contrast.numDefault = 5;
    contrast.maxValue = 9;
    ParamItem date = Item("DATE", kind::kDate, 1900, 1, 3040);
    ParamItem time = Item("TIME", kind::kTime, 1900, 4, 3041);
    ParamItem controlCode =
        List("ControlCode", 200, {"AUTO", "[ESC] [LF] [NUL]", "{ | }", "Manual"}, "AUTO");
    model.items = {characterCode, contrast, date, time, controlCode};

    ParamGroup image{"IMAGE_GROUP", 0, 4000, {0}, {}, {}};
    image.setCommands = {
        {5, {"CharacterCode"}, {1}}, {6, {"NoSuchItem"}, {1}}, {9, {"Contrast"}, {1}}};
    ParamGroup display{"DISPLAY_GROUP", 0, 4058, {0}, {{9, {"Contrast"}, {1}}}, {}};
    ParamGroup rtc{"RTC_GROUP", 1, 4057, {1900}, {{1901, {"DATE", "TIME"}, {8, 9}}}, {}};
    ParamGroup command{"COMMAND_GROUP", 1, 4006, {200}, {{203, {"ControlCode"}, {1}}}, {}};
    model.groups = {image, display, rtc, command};
    model.getCommandIndexes = {0, 1900, 200};
    return model;
}

ParamItem& At(PrinterModel& model, const std::string& name) { return *FindItem(model, name); }

class ParamExchangeTest : public ::testing::Test {
protected:
    ParamExchangeTest() {
        std::ignore = strings_.LoadOverlay(
            dir_.Write("messages.strings", "3001\tCharacter Code\n3002\tContrast\n"));
    }

    ParamSession Session(int titleId) {
        reporter_.emplace(strings_, sink_, cancel_, "LAN", titleId, false, 0);
        return ParamSession{printer_, channel_, *reporter_, strings_, model_,
                            mutex_,   {},       {},         {},       {}};
    }

    test::TempDir dir_;
    Strings strings_;
    ScriptedPrinter printer_;
    CommandChannel channel_{strings_, ControlCodes{}, CodePage::Western1252, 1000};
    Sink sink_;
    std::atomic<bool> cancel_{false};
    std::optional<JobReporter> reporter_;
    PrinterModel model_ = TestModel();
    std::mutex mutex_;
};

TEST_F(ParamExchangeTest, GetBindsEveryCommandJoinsTheClockAndCommits) {
    printer_.Answer({"1", "7"});
    printer_.Answer({"00", "00", "00", "12", "30", "45"});
    printer_.Answer({"3"});
    ParamSession session = Session(785);
    ASSERT_TRUE(ReadParameters(session, {0, 1900, 200}, ReadScope::WholeModel));
    EXPECT_EQ(printer_.sent, (std::vector<std::string>{"ZA", "ZT", "ZC"}));
    EXPECT_EQ(At(model_, "CharacterCode").textValue, "PC-8");
    EXPECT_EQ(At(model_, "Contrast").numValue, 7);
    EXPECT_EQ(At(model_, "DATE").textValue, "00,01,01");
    EXPECT_EQ(At(model_, "TIME").textValue, "12,30,45");
    EXPECT_EQ(At(model_, "ControlCode").textValue, "Manual");
    EXPECT_EQ(sink_.progress, (std::vector<int>{5, 35, 65, 95}));
    EXPECT_TRUE(sink_.lines.empty());
}

TEST_F(ParamExchangeTest, GetFailureNamesTheGroupOfTheCommandAndChangesNoPageValue) {
    const struct {
        int failing;
        const char* line;
    } cases[] = {
        {1900, "Get Parameter , Fail , Obtaining the printer settings failed.(General (2)/RTC)"},
        {300,
         "Get Parameter , Fail , Obtaining the printer settings failed."},  // listed by no group
    };
    for (const auto& c : cases) {
        model_ = TestModel();
        sink_.lines.clear();
        printer_.sent.clear();
        printer_.Answer({"1", "7"});
        printer_.Silent();
        ParamSession session = Session(785);
        EXPECT_FALSE(ReadParameters(session, {0, c.failing, 200}, ReadScope::WholeModel));
        EXPECT_EQ(sink_.lines, std::vector<std::string>{c.line});
        EXPECT_EQ(printer_.sent.size(), 2u) << "nothing is sent after the failure";
        EXPECT_EQ(At(model_, "CharacterCode").textValue, "PC-850");
    }
}

TEST_F(ParamExchangeTest, GetForOnePrinterOfManyTouchesOnlyTheItemsOfItsCommands) {
    ParamItem& date = At(model_, "DATE");
    date.textValue = "26,01,02";
    date.textRead = "another printer's";
    printer_.Answer({"2"});  // no field for Contrast
    ParamSession session = Session(785);
    ASSERT_TRUE(ReadParameters(session, {0}, ReadScope::OwnItems));
    EXPECT_EQ(At(model_, "CharacterCode").textValue, "PC-852");
    EXPECT_EQ(At(model_, "CharacterCode").textRead, "PC-852");
    EXPECT_EQ(At(model_, "DATE").textValue, "26,01,02");
    EXPECT_EQ(At(model_, "DATE").textRead, "another printer's");
    // A value the printer did not report is left alone and marked unavailable.
    EXPECT_EQ(At(model_, "Contrast").numValue, 5);
    EXPECT_NE(At(model_, "Contrast").flag & item_flag::kNotOnPrinter, 0);
}

TEST_F(ParamExchangeTest, SetSendsTheGroupsInOrderSkipsUnknownItemsAndVerifies) {
    At(model_, "CharacterCode").textValue = "PC-8";
    At(model_, "DATE").textValue = "26,12,10";
    At(model_, "TIME").textValue = "11,22,33";
    printer_.Answer({"90"});
    printer_.Silent();  // no acknowledgement counts as accepted
    printer_.Answer({"90"});
    printer_.Answer({"1", "5"});
    printer_.Answer({"26", "12", "10", "11", "22", "33"});
    ParamSession session = Session(786);
    ASSERT_TRUE(WriteParameters(session, {4000, 4057}));
    EXPECT_EQ(printer_.sent,
              (std::vector<std::string>{"ZA04;1", "ZA08;05", "ZT00;261210,112233", "ZA", "ZT"}));
    EXPECT_TRUE(sink_.lines.empty());
    // Four set commands (one skipped) and two reads back.
    EXPECT_EQ(sink_.progress, (std::vector<int>{12, 20, 27, 35, 42, 50}));
}

TEST_F(ParamExchangeTest, AGroupWithoutSetCommandsIsOnlyReadBack) {
    model_.groups.push_back({"PRODUCT_GROUP", 1, 4054, {200}, {}, {}});
    printer_.Answer({"0"});
    ParamSession session = Session(786);
    ASSERT_TRUE(WriteParameters(session, {4054}));
    EXPECT_EQ(printer_.sent, std::vector<std::string>{"ZC"});
    EXPECT_EQ(sink_.progress, std::vector<int>{50});
}

TEST_F(ParamExchangeTest, SetFailuresNamePageGroupAndMessage) {
    const struct {
        const char* name;
        std::vector<std::vector<std::string>> replies;  // empty: silence
        std::size_t sent;
        const char* line;
    } cases[] = {
        {"refused",
         {{"92"}},
         1,
         "Set Parameter , Fail , Updating the printer settings failed.(General/Image/Character "
         "Code)"},
        {"read back differs",
         {{"90"}, {"90"}, {"90"}, {"2", "5"}},
         4,
         "Set Parameter , Fail , Updating the printer settings failed.(General/Image/Character "
         "Code)"},
        {"read back silent",
         {{"90"}, {"90"}, {"90"}, {}},
         4,
         "Set Parameter , Fail , Obtaining the printer settings failed.(General/Image)"},
        {"other item differs",
         {{"90"}, {"90"}, {"90"}, {"1", "6"}},
         4,
         "Set Parameter , Fail , Updating the printer settings failed.(General/Image/Contrast)"},
    };
    for (const auto& c : cases) {
        model_ = TestModel();
        At(model_, "CharacterCode").textValue = "PC-8";
        sink_.lines.clear();
        printer_.sent.clear();
        for (const auto& reply : c.replies)
            reply.empty() ? printer_.Silent() : printer_.Answer(reply);
        ParamSession session = Session(786);
        EXPECT_FALSE(WriteParameters(session, {4000, 4058})) << c.name;
        EXPECT_EQ(sink_.lines, std::vector<std::string>{c.line}) << c.name;
        EXPECT_EQ(printer_.sent.size(), c.sent) << c.name;
    }
}

// With the Japanese interface the failure line names page, group and
// item in Japanese too.
TEST_F(ParamExchangeTest, SetFailureLineFollowsTheJapaneseTable) {
    ASSERT_TRUE(
        strings_.LoadOverlay(std::string(RVQ_SOURCE_DIR) + "/data/lang/VQTool_Jpn.strings"));
    At(model_, "CharacterCode").messageId = 3000;
    At(model_, "CharacterCode").textValue = "PC-8";
    printer_.Answer({"92"});
    ParamSession session = Session(786);
    EXPECT_FALSE(WriteParameters(session, {4000}));
    EXPECT_EQ(sink_.lines, std::vector<std::string>{
                               "パラメータ設定 , 失敗 , "
                               "プリンタ設定の更新に失敗しました。(一般/イメージ/文字コード)"});
}

TEST_F(ParamExchangeTest, SwitchingToAutomaticCodesIsReportedOnlyForThatChoice) {
    for (const char* choice : {"AUTO", "Manual"}) {
        model_ = TestModel();
        At(model_, "ControlCode").textValue = choice;
        printer_.Answer({"90"});
        printer_.Answer({choice == "AUTO"s ? "0" : "3"});
        int switched = 0;
        ParamSession session = Session(786);
        session.onAutomaticCodes = [&] { ++switched; };
        EXPECT_TRUE(WriteParameters(session, {4006})) << choice;
        EXPECT_EQ(switched, choice == "AUTO"s ? 1 : 0) << choice;
    }
}

TEST_F(ParamExchangeTest, ACancelStopsBeforeTheNextCommand) {
    cancel_ = true;
    ParamSession session = Session(786);
    EXPECT_FALSE(WriteParameters(session, {4000}));
    EXPECT_FALSE(ReadParameters(session, {0}, ReadScope::WholeModel));
    EXPECT_TRUE(printer_.sent.empty());
    EXPECT_EQ(sink_.lines, std::vector<std::string>{"Set Parameter , Cancel"});
}

}  // namespace
}  // namespace rvq
