#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/app/printer_definition.h"
#include "core/app/strings.h"
#include "core/params/command_args.h"
#include "core/params/command_builder.h"
#include "core/params/item_kind.h"

// The shipped printer definition file against the parameter pages and the
// command tables: every control a page lays out has exactly one item, every
// group check box one group, and what a group writes is what it shows and
// reads back.

namespace rvq::params {
namespace {

const std::string kDefinitionFile = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";

std::vector<std::unique_ptr<PrinterModel>> AllModels() {
    std::vector<std::string> names;
    std::vector<std::unique_ptr<PrinterModel>> models;
    std::ignore = LoadPrinterModel(kDefinitionFile, "", &names);
    for (const std::string& name : names)
        models.push_back(LoadPrinterModel(kDefinitionFile, name, nullptr));
    return models;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    return ids;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The layout of the seven pages: group check boxes, every control that
// shows an item (lists, edits, "shown" edits, addresses, date and time,
// file edits), and the spin control that belongs to an edit.
struct PageLayout {
    std::vector<int> checkBoxes;
    std::vector<int> controls;
    std::map<int, int> spins;  // edit -> spin
};

const std::vector<PageLayout>& Pages() {
    static const std::vector<PageLayout> pages = {
        // General
        {Join({Range(4000, 4005), {4058}}),
         {4401, 4402, 4800, 4403, 4404, 4411, 4417, 4412, 4456, 4413, 4419, 4405, 4801, 4406, 4407,
          4408, 4453, 4450, 4451, 4452, 4857, 4418, 4457, 4850, 4458, 4455, 4454, 4459, 4460, 4416},
         {{4801, 5200}, {4857, 5251}, {4850, 5250}}},
        // General (2)
        {Join({Range(4050, 4057), {4006}}),
         {4804, 4805, 4807, 4808, 4809, 4810, 4806, 4813, 4814, 4811, 4812, 4461, 4852,
          4853, 4854, 4414, 4415, 4851, 4466, 4409, 4802, 4410, 4803, 4463, 4815, 4816,
          4817, 4818, 4819, 4820, 4821, 4822, 5650, 5651, 4464, 4465, 4462, 4855, 4856},
         {{4805, 5203},
          {4808, 5205},
          {4810, 5206},
          {4806, 5204},
          {4814, 5208},
          {4812, 5207},
          {4802, 5201},
          {4803, 5202},
          {4816, 5209},
          {4818, 5210},
          {4820, 5211},
          {4822, 5212}}},
        // Device
        {Range(4100, 4102), Join({Range(4501, 4510), {4900}}), {}},
        // LAN
        {Range(4103, 4106),
         Join({{4511, 5700, 5701, 5702, 4512, 4513, 4901, 4514, 4515},
               Range(4519, 4528),
               Range(5704, 5713),
               {4517, 4902, 4903, 4518, 4516, 5703}}),
         {{4901, 5300}}},
        // WLAN
        {Range(4150, 4156),
         Join({{4550, 4950, 4951, 4952, 4551, 4953, 4552, 4954, 4553, 4554},
               Range(4955, 4959),
               Range(4555, 4558),
               {4559, 4560},
               Range(4561, 4564),
               Range(4960, 4963)}),
         {{4951, 5350}, {4952, 5351}, {4953, 5352}, {4954, 5353}}},
        // WLAN (2)
        {Range(4204, 4209), Join({Range(5000, 5011), Range(4600, 4607)}), {{5003, 5400}}},
        // RFID
        {Range(4250, 4253),
         Join({Range(4650, 4657), Range(5050, 5063)}),
         {{5050, 5450},
          {5051, 5451},
          {5052, 5452},
          {5053, 5453},
          {5054, 5454},
          {5063, 5460},
          {5058, 5455},
          {5059, 5456},
          {5060, 5457},
          {5061, 5458},
          {5062, 5459}}},
    };
    return pages;
}

// Controls whose kind the pages depend on (masked one-byte fields, address
// controls, date and time pickers, file-browse edits).
const std::map<int, int>& SpecialKinds() {
    static const std::map<int, int> kinds = [] {
        std::map<int, int> k = {
            {4800, kind::kHexByte}, {4852, kind::kHexByte}, {4853, kind::kHexByte},
            {4854, kind::kHexByte}, {5650, kind::kDate},    {5651, kind::kTime},
            {5004, kind::kFile},    {5005, kind::kFile},    {5006, kind::kFile},
            {5008, kind::kFile},    {5009, kind::kFile}};
        for (int id = 5700; id <= 5713; ++id) k[id] = kind::kIpAddress;
        return k;
    }();
    return kinds;
}

// Groups the program looks up by name, their check box, and the items
// their checks and change detection read.
struct NamedGroup {
    const char* name;
    int checkBox;
    std::vector<std::string> items;
};

const std::vector<NamedGroup>& NamedGroups() {
    static const std::vector<NamedGroup> groups = {
        {"COMMAND_GROUP", 4006, {"ControlCode", "ManualCode1", "ManualCode2", "ManualCode3"}},
        {"PASSWORD_GROUP", 4053, {"SystemModePassword", "NewPassword", "OldPassword"}},
        {"USB_GROUP", 4102, {"USBSerialNumber", "SerialNumber"}},
        {"TCPIP_GROUP", 4103, {"IPAddress", "SubnetMask", "DefaultGateway"}},
        {"SNMP_TRAP_GROUP", 4106, {"SNMPTrap1_IPAddress", "SNMPTrap10_IPAddress"}},
        {"SERVER_GROUP",
         4105,
         {"WINSServerAddress", "DHCPInput", "DHCPClientID", "DHCP", "DHCPHostName"}},
        {"PRIORITYAP_GROUP",
         4154,
         {"MACAddress1", "MACAddress2", "MACAddress3", "MACAddress4", "MACAddress5"}},
        {"WEP_GROUP",
         4156,
         {"WEP_InputType", "WEPDefaultKey", "WEP_KeySize1", "WEP_KeySize2", "WEP_KeySize3",
          "WEP_KeySize4", "WEP_KeyData1", "WEP_KeyData2", "WEP_KeyData3", "WEP_KeyData4"}},
        {"RFID_TAGCHECK_GROUP",
         4252,
         {"RFID_Password", "RFID_NewPassword", "RFID_CurrentPassword", "RFID_AccessPassword"}},
        {"PROTOCOL_GROUP", 4104, {"PortNumber"}},
        {"RS232C_GROUP",
         4100,
         {"RS232C_BaudRate", "RS232C_Parity", "RS232C_DataLength", "RS232C_StopBit"}},
        {"PRODUCT_GROUP", 4054, {"PrinterSerialNo"}},
        {"RTC_GROUP", 4057, {"DATE", "TIME"}},
        {"WLAN_DETAILS_GROUP", 4151, {"CountryCode", "ESSID"}},
        {"CCX_GROUP", 4209, {"StationName"}},
        {"RFID_MODULE_GROUP", 4250, {"RFID_Country", "RFID_TAG_Type"}},
        {"EPA_FAST_GROUP", 4208, {"PACFileDelete", "PACFile", "PACPassword"}},
        {"SUPPLICANT_GROUP",
         4207,
         {"ServerCertificate", "ClientCertificate", "KeyFile", "RandomSeed", "SecretKey"}},
        {"WPA_PSK_GROUP", 4204, {"PreSharedKey"}},
        {"AUTHENTICATION_GROUP",
         4155,
         {"Authentication-1", "Authentication-2", "Authentication-3", "Authentication-4"}},
        {"DISPLAY_GROUP", 4058, {"LCDLanguage", "Contrast"}},
        {"RIBBON_GROUP",
         4056,
         {"RibbonWidth", "DriveVoltage2(Take-up)-PC", "DriveVoltage2(Take-up)",
          "DriveVoltage2(Feed)-PC", "DriveVoltage2(Feed)"}},
    };
    return groups;
}

const ParamGroup* FindGroup(const PrinterModel& model, const std::string& name) {
    for (const ParamGroup& group : model.groups) {
        if (group.name == name) return &group;
    }
    return nullptr;
}

bool Contains(const std::vector<int>& values, int value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

class DefinitionCoherence : public ::testing::Test {
protected:
    void SetUp() override {
        models_ = AllModels();
        ASSERT_EQ(models_.size(), 9u);
        for (const auto& model : models_) ASSERT_TRUE(model);
    }
    std::vector<std::unique_ptr<PrinterModel>> models_;
};

TEST_F(DefinitionCoherence, EveryPageControlIsOneItemAndEveryCheckBoxOneGroup) {
    for (const auto& model : models_) {
        for (int page = 0; page < static_cast<int>(Pages().size()); ++page) {
            const PageLayout& layout = Pages()[static_cast<std::size_t>(page)];
            const std::string where = model->name + " page " + std::to_string(page);

            std::multiset<int> boxes;
            for (const ParamGroup& group : model->groups) {
                if (group.pageIndex == page) boxes.insert(group.checkBoxId);
            }
            EXPECT_EQ(boxes, std::multiset<int>(layout.checkBoxes.begin(), layout.checkBoxes.end()))
                << where;

            std::multiset<int> controls;
            for (const ParamItem& item : model->items) {
                if (item.pageIndex != page) continue;
                controls.insert(item.ctrlId);
                const auto spin = layout.spins.find(item.ctrlId);
                EXPECT_EQ(item.spinId, spin == layout.spins.end() ? -1 : spin->second)
                    << where << " " << item.name;
                const auto special = SpecialKinds().find(item.ctrlId);
                if (special != SpecialKinds().end()) {
                    EXPECT_EQ(item.kind, special->second) << where << " " << item.name;
                }
            }
            EXPECT_EQ(controls, std::multiset<int>(layout.controls.begin(), layout.controls.end()))
                << where;
        }
    }
}

// Set Parameter reads only the controls of a ticked group, and the set job
// verifies with the group's own get commands: so every item a group writes
// must be one of its controls and be read back by one of its gets.
TEST_F(DefinitionCoherence, EachGroupWritesWhatItShowsAndReadsItBack) {
    const Strings strings;
    for (const auto& model : models_) {
        std::map<int, std::string> owner;  // control -> group (each control in one group)
        for (const ParamGroup& group : model->groups) {
            const std::string where = model->name + " " + group.name;
            EXPECT_FALSE(group.setCommands.empty()) << where;
            EXPECT_FALSE(group.getCommands.empty()) << where;
            for (int get : group.getCommands) {
                EXPECT_TRUE(Contains(model->getCommandIndexes, get)) << where << " get " << get;
                EXPECT_TRUE(strings.Has(kCommandTextBase + get)) << where << " get " << get;
            }
            for (int ctrlId : group.ctrlIds) {
                const auto [it, fresh] = owner.emplace(ctrlId, group.name);
                EXPECT_TRUE(fresh) << where << " control " << ctrlId << " also in " << it->second;
                const auto item =
                    std::find_if(model->items.begin(), model->items.end(),
                                 [&](const ParamItem& i) { return i.ctrlId == ctrlId; });
                ASSERT_NE(item, model->items.end()) << where << " control " << ctrlId;
                EXPECT_EQ(item->pageIndex, group.pageIndex) << where << " " << item->name;
            }
            for (const SetCommand& command : group.setCommands) {
                const std::string cmd = where + " command " + std::to_string(command.commandId);
                EXPECT_TRUE(strings.Has(kCommandTextBase + command.commandId)) << cmd;
                EXPECT_TRUE(strings.Has(kArgumentFormatBase + command.commandId)) << cmd;
                EXPECT_TRUE(strings.Has(kValueFormatBase + command.commandId)) << cmd;
                ASSERT_EQ(command.paramNames.size(), command.paramTypes.size()) << cmd;
                for (std::size_t i = 0; i < command.paramNames.size(); ++i) {
                    // A literal param (type 0) is a number, the only param
                    // that names no item.
                    if (command.paramTypes[i] == param_type::kLiteral) {
                        EXPECT_FALSE(command.paramNames[i].empty()) << cmd;
                        EXPECT_TRUE(std::all_of(command.paramNames[i].begin(),
                                                command.paramNames[i].end(),
                                                [](char c) { return c >= '0' && c <= '9'; }))
                            << cmd << " literal " << command.paramNames[i];
                        continue;
                    }
                    const ParamItem* item = FindItem(*model, command.paramNames[i]);
                    ASSERT_NE(item, nullptr) << cmd << " param " << command.paramNames[i];
                    EXPECT_TRUE(Contains(group.ctrlIds, item->ctrlId)) << cmd << " " << item->name;
                    if (item->offset >= 1) {
                        EXPECT_TRUE(Contains(group.getCommands, item->getCmdIndex))
                            << cmd << " " << item->name;
                    }
                }
            }
        }
    }
}

// Each reply field belongs to one item; only the four authentication lists
// share one field, as they are one printer value sent by one command.
TEST_F(DefinitionCoherence, ReplyFieldsBelongToOneItem) {
    for (const auto& model : models_) {
        std::map<std::pair<int, int>, std::vector<std::string>> fields;
        for (const ParamItem& item : model->items) {
            if (item.offset == -1) continue;
            EXPECT_GE(item.offset, 1) << model->name << " " << item.name;
            EXPECT_TRUE(Contains(model->getCommandIndexes, item.getCmdIndex))
                << model->name << " " << item.name;
            fields[{item.getCmdIndex, item.offset}].push_back(item.name);
        }
        for (const auto& [field, names] : fields) {
            if (names.size() == 1) continue;
            EXPECT_EQ(names, (std::vector<std::string>{"Authentication-1", "Authentication-2",
                                                       "Authentication-3", "Authentication-4"}))
                << model->name << " get " << field.first << " field " << field.second;
        }
    }
}

TEST_F(DefinitionCoherence, ListsAndCaptionsAreComplete) {
    const Strings strings;
    for (const auto& model : models_) {
        for (const ParamItem& item : model->items) {
            const std::string where = model->name + " " + item.name;
            if (item.kind == kind::kList) {
                EXPECT_FALSE(item.labels.empty()) << where;
                EXPECT_EQ(item.commandCodes.size(), item.labels.size()) << where;
                EXPECT_EQ(item.labelsJpn.size(), item.labels.size()) << where;
                for (const std::string& label : item.labelsJpn)
                    EXPECT_FALSE(label.empty()) << where;
                EXPECT_NE(std::find(item.labels.begin(), item.labels.end(), item.textDefault),
                          item.labels.end())
                    << where << " default " << item.textDefault;
            } else {
                EXPECT_TRUE(item.labels.empty()) << where;
            }
            // Shown-only fields carry no caption; every editable one names
            // its caption for the messages about wrong values.
            if (item.kind == kind::kReadOnly) {
                EXPECT_EQ(item.messageId, 0) << where;
            } else {
                EXPECT_TRUE(strings.Has(item.messageId)) << where << " message " << item.messageId;
            }
            if (IsNumericKind(item.kind) && (item.kind & kind::kHexText) == 0) {
                EXPECT_LE(item.minValue, item.numDefault) << where;
                EXPECT_LE(item.numDefault, item.maxValue) << where;
            }
        }
    }
}

TEST_F(DefinitionCoherence, GroupsAndItemsTheProgramNamesExist) {
    for (const auto& model : models_) {
        for (const NamedGroup& named : NamedGroups()) {
            const ParamGroup* group = FindGroup(*model, named.name);
            ASSERT_NE(group, nullptr) << model->name << " " << named.name;
            EXPECT_EQ(group->checkBoxId, named.checkBox) << named.name;
            for (const std::string& name : named.items) {
                const ParamItem* item = FindItem(*model, name);
                ASSERT_NE(item, nullptr) << model->name << " " << name;
                EXPECT_TRUE(Contains(group->ctrlIds, item->ctrlId)) << named.name << " " << name;
            }
        }
    }
}

// Flags the pages, the set job and the setting files act on.
TEST_F(DefinitionCoherence, ServicePerPrinterAndSecretItemsAreMarked) {
    const auto& base = *models_.front();
    for (const char* name :
         {"PrinterSerialNo", "DATE", "TIME", "CountryCode", "StationName", "RFID_Country"})
        EXPECT_TRUE(FindItem(base, name)->flag & item_flag::kService) << name;
    for (const char* name : {"CountryCode", "RFID_Country"})
        EXPECT_TRUE(FindItem(base, name)->flag & item_flag::kNotRestrictedService) << name;
    for (const char* name : {"IPAddress", "SubnetMask", "DefaultGateway", "DHCPHostName",
                             "DHCPClientID", "SerialNumber"})
        EXPECT_TRUE(FindItem(base, name)->flag & item_flag::kNotMultiLan) << name;
    for (const char* name :
         {"NewPassword", "OldPassword", "PreSharedKey", "WEP_KeyData1", "WEP_KeyData4", "SecretKey",
          "PACPassword", "RFID_AccessPassword", "RFID_NewPassword", "RFID_CurrentPassword"})
        EXPECT_TRUE(FindItem(base, name)->encode) << name;
    // What the printer never reports is never bound to a reply field.
    for (const char* name :
         {"NewPassword", "OldPassword", "RFID_NewPassword", "RFID_CurrentPassword", "DHCPInput",
          "WEP_InputType", "ServerCertificate", "ClientCertificate", "KeyFile", "RandomSeed",
          "PACFile", "PACFileDelete"})
        EXPECT_EQ(FindItem(base, name)->offset, -1) << name;
    for (const auto& model : models_) {
        for (const ParamItem& item : model->items)
            EXPECT_EQ(item.flag & item_flag::kTextAsHex, 0) << model->name << " " << item.name;
    }
}

TEST_F(DefinitionCoherence, ModelsDescribeTheirHeadAndMemory) {
    for (const auto& model : models_) {
        const std::string& name = model->name;
        const char head = name.back();
        EXPECT_EQ(model->resolution, head == 'G' ? 203 : head == 'T' ? 300 : 600) << name;
        EXPECT_EQ(model->maxWidth, name.starts_with("R-VQ6") ? 1524 : 1040) << name;
        EXPECT_GT(model->maxLength, 0) << name;
        EXPECT_GT(model->gaijiWidth, 0) << name;
        EXPECT_LE(model->gaijiWidth, model->maxWidth * model->resolution / 254) << name;
        EXPECT_EQ(model->blockSize, 128) << name;
        EXPECT_EQ(model->maxBlock, 24) << name;
        EXPECT_LT(model->mainStartBlock, model->systemStartBlock) << name;
        EXPECT_LT(model->systemStartBlock, model->dataStartBlock) << name;
        EXPECT_LT(model->dataStartBlock, model->maxBlock) << name;
        const bool directOnly = name.substr(5, 2) == "D2";
        for (const char* ribbon : {"RibbonWidth", "RibbonSave", "DriveVoltage1(Feed)-PC"}) {
            EXPECT_EQ((FindItem(*model, ribbon)->flag & item_flag::kNotOnPrinter) != 0, directOnly)
                << name << " " << ribbon;
        }
    }
}

}  // namespace
}  // namespace rvq::params
