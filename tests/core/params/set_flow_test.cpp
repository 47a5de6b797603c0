#include "core/params/set_flow.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/string_ids.h"
#include "core/params/item_values.h"
#include "support/scripted_interaction.h"

namespace rvq::params {
namespace {

using rvq::test::ScriptedInteraction;

// One printer on LAN 127.0.0.1:8000 with the first model's defaults.
struct Bench {
    Bench() {
        EXPECT_TRUE(document.OnNewDocument(std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML",
                                           "R-VQ4T1-T", "QM"));
        context.settings.printerModel = "R-VQ4T1-T";
        context.settings.interfaceName = "LAN";
        context.settings.lanHost = "127.0.0.1";
        context.settings.lanPort = 8000;
    }
    ParamItem& Item(const std::string& name) { return *FindItem(*document.model(), name); }
    void Tick(const std::vector<const char*>& names) {
        for (const char* name : names) ticks.Set(name, true);
    }
    PreparedSet Prepare(bool multiLan = false) {
        return PrepareSet(document, ticks, context, multiLan, interaction);
    }

    Document document;
    AppContext context;
    GroupTicks ticks;
    ScriptedInteraction interaction;
};

// A refused set shows why and leaves what an earlier set acknowledged: no
// job is started for it.
TEST(SetFlow, RefusalIsShownBeforeAnyJob) {
    struct Case {
        const char* name;
        std::vector<const char*> groups;
        const char* item;
        const char* text;  // the item's page text, or null for `number`
        int number;
        SetRefusal refusal;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"nothing ticked", {}, nullptr, nullptr, 0, SetRefusal::NothingTicked, {}},
        {"a service group outside the service mode",
         {"RFID_TAGCHECK_GROUP"},
         nullptr,
         nullptr,
         0,
         SetRefusal::NothingTicked,
         {}},
        {"a value no control holds",
         {"DISPLAY_GROUP"},
         "Contrast",
         nullptr,
         42,
         SetRefusal::CheckFailed,
         {64800}},
        {"a group check",
         {"PRIORITYAP_GROUP"},
         "MACAddress1",
         "12345",
         0,
         SetRefusal::CheckFailed,
         {sid::kMsgMacAddress}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.Tick(c.groups);
        if (c.item != nullptr && c.text != nullptr) b.Item(c.item).textValue = c.text;
        if (c.item != nullptr && c.text == nullptr) b.Item(c.item).numValue = c.number;
        b.document.AddAcknowledgedItems({"IPAddress"});

        const PreparedSet plan = b.Prepare();
        EXPECT_FALSE(plan);
        EXPECT_EQ(plan.refusal, c.refusal);
        EXPECT_EQ(plan.confirmId, 0);
        EXPECT_EQ(b.interaction.ids(), c.shown);
        EXPECT_EQ(b.document.acknowledgedItems(), std::vector<std::string>{"IPAddress"});
    }
}

// The checks show their message while the model is locked against the
// jobs of a Multi-LAN run.
TEST(SetFlow, ChecksRunUnderTheModelLock) {
    struct LockProbe : ScriptedInteraction {
        std::mutex* mutex = nullptr;
        bool lockedWhileShown = false;
        void Error(int messageId, const std::string& text) override {
            bool locked = false;
            std::thread([&] {
                locked = !mutex->try_lock();
                if (!locked) mutex->unlock();
            }).join();
            lockedWhileShown = locked;
            ScriptedInteraction::Error(messageId, text);
        }
    };
    for (const char* group : {"DISPLAY_GROUP", "PRIORITYAP_GROUP"}) {
        SCOPED_TRACE(group);
        Bench b;
        b.Tick({group});
        b.Item("Contrast").numValue = 42;
        b.Item("MACAddress1").textValue = "12345";
        LockProbe probe;
        probe.mutex = &b.document.modelMutex();
        EXPECT_FALSE(PrepareSet(b.document, b.ticks, b.context, false, probe));
        EXPECT_EQ(probe.ids().size(), 1u);
        EXPECT_TRUE(probe.lockedWhileShown);
    }
}

TEST(SetFlow, PlanNamesTheGroupsTheQuestionAndTheConnectionChange) {
    struct Case {
        const char* name;
        std::vector<const char*> groups;
        const char* address;  // IPAddress as the page holds it
        int port;
        bool changed;
        const char* connection;
    };
    const Case cases[] = {
        {"address of the ticked group", {"TCPIP_GROUP"}, "127.0.0.9", 8000, true, "127.0.0.9,8000"},
        {"address completed by the checks",
         {"TCPIP_GROUP"},
         "127.0.0.",
         8000,
         true,
         "127.0.0.0,8000"},
        {"same address", {"TCPIP_GROUP", "DISPLAY_GROUP"}, "127.0.0.1", 8000, false, ""},
        {"address of an unticked group", {"DISPLAY_GROUP"}, "127.0.0.9", 8000, false, ""},
        {"port only", {"PROTOCOL_GROUP"}, "127.0.0.9", 9100, true, "127.0.0.1,9100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.Tick(c.groups);
        b.Item("IPAddress").textValue = c.address;
        b.Item("PortNumber").numValue = c.port;
        b.document.AddAcknowledgedItems({"IPAddress"});

        const PreparedSet plan = b.Prepare();
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan.groups, GatherGroups(*b.document.model(), b.ticks, false));
        EXPECT_EQ(plan.groups.size(), c.groups.size());
        EXPECT_EQ(plan.confirmId, sid::kConfirmSet);
        EXPECT_EQ(plan.confirmText, b.context.strings.Get(sid::kConfirmSet));
        EXPECT_TRUE(b.interaction.shown().empty()) << "the question is the caller's to ask";
        EXPECT_EQ(plan.change.connectionChanged, c.changed);
        EXPECT_EQ(plan.change.connection, c.connection);
        EXPECT_TRUE(b.document.acknowledgedItems().empty())
            << "an earlier set's acknowledgements stay";
    }
}

// After the job: what is committed, what joins the pending changes and
// what the operator is told, by whether the job succeeded and whether the
// printer acknowledged the new address.
TEST(SetFlow, FinishCommitsReadBackValuesAndKeepsWhatThePrinterTook) {
    struct Case {
        const char* name;
        bool succeeded;
        bool acknowledged;
        bool committed;
        bool connectionPending;
        int note;
        const char* noteHas;
    };
    const Case cases[] = {
        {"set and acknowledged", true, true, true, true, 64820, "LAN 127.0.0.9,8000"},
        {"failed after the address was taken", false, true, false, true, 64820,
         "LAN 127.0.0.9,8000"},
        {"failed before the address", false, false, false, false, 64821, "LAN 127.0.0.1,8000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.Tick({"TCPIP_GROUP", "COMMAND_GROUP"});
        b.Item("IPAddress").textValue = "127.0.0.9";
        const PreparedSet plan = b.Prepare();
        ASSERT_TRUE(plan);
        ASSERT_TRUE(plan.change.connectionChanged);

        // What the job leaves: the read-back values and the acknowledged items.
        b.Item("Contrast").numRead = 7;
        b.Item("ControlCode").textRead = "Non-Standard";
        b.Item("IPAddress").textRead = "127.0.0.9";
        if (c.acknowledged) b.document.AddAcknowledgedItems({"IPAddress"});
        b.context.settingModeState = SettingModeState::AfterChange;
        PendingChanges pending;
        FinishSet(b.document, b.context, b.ticks, plan, c.succeeded, pending, b.interaction);

        EXPECT_EQ(b.Item("Contrast").numValue == 7, c.committed);
        EXPECT_EQ(b.Item("ControlCode").textValue == "Non-Standard", c.committed);
        // The printer's new control codes are only believed after a good set.
        EXPECT_EQ(pending.codesChanged, c.committed);
        if (c.committed) {
            EXPECT_EQ(pending.codes, (ControlCodes{0x7B, 0x7C, 0x7D}));
        }
        EXPECT_EQ(pending.connectionChanged, c.connectionPending);
        EXPECT_EQ(pending.connection, c.connectionPending ? "127.0.0.9,8000" : "");
        ASSERT_EQ(b.interaction.ids(), std::vector<int>{c.note});
        EXPECT_NE(b.interaction.shown()[0].text.find(c.noteHas), std::string::npos)
            << b.interaction.shown()[0].text;
        EXPECT_EQ(b.context.settingModeState, SettingModeState::AfterChange)
            << "one printer stays in setting mode";
        EXPECT_EQ(b.context.settings.lanHost, "127.0.0.1")
            << "the tool's settings wait for the restore";
    }
}

TEST(SetFlow, FinishKeepsAnEarlierChangeAndLeavesMultiLanOnline) {
    Bench b;
    b.Tick({"DISPLAY_GROUP"});
    const PreparedSet plan = b.Prepare(true);
    ASSERT_TRUE(plan);
    EXPECT_TRUE(plan.checks.multiLan);
    EXPECT_FALSE(plan.change.connectionChanged);
    PendingChanges pending;
    pending.connectionChanged = true;
    pending.connection = "127.0.0.5,8000";
    b.context.settingModeState = SettingModeState::AfterChange;
    FinishSet(b.document, b.context, b.ticks, plan, true, pending, b.interaction);
    EXPECT_TRUE(pending.connectionChanged);
    EXPECT_EQ(pending.connection, "127.0.0.5,8000");
    EXPECT_FALSE(pending.codesChanged) << "the command group was not written";
    EXPECT_TRUE(b.interaction.shown().empty()) << "this set changed no connection";
    EXPECT_EQ(b.context.settingModeState, SettingModeState::Online);
}

}  // namespace
}  // namespace rvq::params
