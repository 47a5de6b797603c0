#include "core/comm/ops/status_check.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/app/strings.h"
#include "core/comm/port/framing.h"

namespace rvq {
namespace {

StatusAnswer With(StatusOutcome outcome, int status = -1, std::uint32_t systemError = 0) {
    StatusAnswer a;
    a.outcome = outcome;
    a.status = status;
    a.systemError = systemError;
    return a;
}

TEST(JudgeStatus, EveryOutcomeGetsItsStateAndMessage) {
    struct Case {
        StatusAnswer answer;
        PrinterState state;
        int code;
        int messageId;
    };
    const Case cases[] = {
        {With(StatusOutcome::Answered, 0), PrinterState::Ready, 0, 0},
        {With(StatusOutcome::Answered, 27), PrinterState::Ready, 27, 0},
        {With(StatusOutcome::Answered, 6), PrinterState::Error, 6, 1525},
        // Another mode is not a fault of the printer, but it is not online.
        {With(StatusOutcome::Answered, 103), PrinterState::Error, 103, 1523},
        {With(StatusOutcome::Answered, -1), PrinterState::NoAnswer, -1, 1530},
        {With(StatusOutcome::NoAnswer), PrinterState::NoAnswer, -1, 1523},
        {With(StatusOutcome::ReadFailed, -1, ECONNRESET), PrinterState::NoAnswer, -1, 1530},
        {With(StatusOutcome::WriteFailed, -1, EPIPE), PrinterState::NoAnswer, -1, 1530},
        {With(StatusOutcome::OpenFailed, -1, ECONNREFUSED), PrinterState::NoAnswer, -1, 1522},
        {With(StatusOutcome::Refused), PrinterState::NoAnswer, -1, 1522},
        {With(StatusOutcome::Cancelled), PrinterState::Stopped, -1, 0},
    };
    for (const Case& c : cases) {
        const StatusVerdict v = JudgeStatus(c.answer);
        SCOPED_TRACE(static_cast<int>(c.answer.outcome) * 1000 + c.answer.status);
        EXPECT_EQ(v.state, c.state);
        EXPECT_EQ(v.code, c.code);
        EXPECT_EQ(v.messageId, c.messageId);
        EXPECT_EQ(v.systemError, c.answer.systemError);
    }
}

TEST(StatusQueryFor, FramesWithTheToolsCodesAndCapsTheWait) {
    ToolSettings settings;
    settings.controlCodes = {'{', '|', '}'};
    settings.timeoutSeconds = 3;
    StatusQuery q = StatusQueryFor(settings);
    EXPECT_EQ(q.request, BuildFixedCommands(settings.controlCodes).statusRequest);
    EXPECT_EQ(q.request.front(), '{');
    EXPECT_EQ(q.timeoutMs, 3000);
    settings.timeoutSeconds = 100000000;  // a settings file may hold anything
    EXPECT_EQ(StatusQueryFor(settings).timeoutMs, 10000);
    settings.timeoutSeconds = -5;
    EXPECT_EQ(StatusQueryFor(settings).timeoutMs, 0);
}

TEST(MultiLanConnections, OneLanConnectionPerEntryInListOrder) {
    Strings strings;
    ToolSettings settings;
    settings.interfaceName = "COM";  // the page's list, whatever the stored interface
    const std::vector<Connection> c =
        MultiLanConnections(settings, strings, {{"127.0.0.3", 9100}, {"printer 2", 8000}});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].interfaceName, "LAN");
    EXPECT_EQ(c[0].settings, "127.0.0.3,9100");
    EXPECT_EQ(c[1].settings, "printer 2,8000");
}

}  // namespace
}  // namespace rvq
