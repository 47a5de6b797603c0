#include "sim/param_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/app/printer_definition.h"
#include "sim/param_store.h"

namespace rvq::sim {
namespace {

TEST(ParamCommands, IdsKeysAndBlocksFollowTheBlockRules) {
    const struct {
        int id;
        std::string key;
        int getId;
        ArgShape shape;
    } cases[] = {
        {1, "ZA00", 0, ArgShape::CommaPair},        {3, "ZA02", 0, ArgShape::Whole},
        {16, "ZA15", 0, ArgShape::CommaPair},       {204, "ZC03", 200, ArgShape::CommaTriple},
        {521, "ZF20", 500, ArgShape::Whole},        {1060, "ZK09", 1000, ArgShape::CommaPair},
        {1405, "ZO04", 1400, ArgShape::FlagSecret}, {1505, "ZP05", 1500, ArgShape::Whole},
        {1804, "ZS03", 1800, ArgShape::None},       {1852, "ZS01", 1800, ArgShape::CommaPair},
        {1901, "ZT00", 1900, ArgShape::DateTime},   {2201, "ZW00", 2200, ArgShape::Whole},
        {2216, "ZW15", 2200, ArgShape::RowAddress}, {2301, "ZW20", 2300, ArgShape::Whole},
        {2405, "ZW34", 2400, ArgShape::Whole},      {2507, "ZW46", 2500, ArgShape::ZeroZero},
        {2804, "ZW73", 2800, ArgShape::Binary},     {3110, "ZW109", 3100, ArgShape::Whole},
        {3206, "ZW115", 3200, ArgShape::Whole},
    };
    for (const auto& c : cases) {
        const ParamCommand* command = FindSetCommandById(c.id);
        ASSERT_NE(command, nullptr) << c.id;
        EXPECT_EQ(command->key, c.key) << c.id;
        EXPECT_EQ(command->getId, c.getId) << c.id;
        EXPECT_EQ(command->shape, c.shape) << c.id;
    }
    // Ids the table leaves out, and keys of two forms.
    for (int missing : {2, 404, 1202, 1203, 1506, 2203})
        EXPECT_EQ(FindSetCommandById(missing), nullptr) << missing;
    EXPECT_EQ(FindSetCommands("ZS01").size(), 2u);
    ASSERT_NE(FindGetCommand("ZWR110"), nullptr);
    EXPECT_EQ(FindGetCommand("ZWR110")->id, 3200);
    EXPECT_EQ(FindGetCommand("ZLR20")->id, 1102);
    EXPECT_EQ(FindGetCommand("ZA00"), nullptr);
}

std::vector<std::string> Texts(const std::optional<std::vector<ArgValue>>& values) {
    std::vector<std::string> texts;
    for (const ArgValue& value : values.value_or(std::vector<ArgValue>{}))
        texts.push_back((value.shown ? "" : "*") + value.text);
    return texts;
}

TEST(ParamCommands, ArgumentsSplitByShape) {
    using V = std::vector<std::string>;
    const struct {
        ArgShape shape;
        std::string args;
        bool valid;
        V values;  // "*" marks a value no reply shows
    } cases[] = {
        {ArgShape::Whole, "a,b;c", true, {"a,b;c"}},
        {ArgShape::Whole, "", true, {""}},
        {ArgShape::CommaPair, "+005,-012", true, {"+005", "-012"}},
        {ArgShape::CommaPair, "+005", false, {}},
        {ArgShape::CommaTriple, "1B,0A,00", true, {"1B", "0A", "00"}},
        {ArgShape::RowAddress, "01,2,192,168,001,010", true, {"01", "2", "192.168.1.10"}},
        {ArgShape::RowAddress, "01,2,192,168,001", false, {}},
        {ArgShape::Address, "192,168,010,020", true, {"192.168.10.20"}},
        {ArgShape::Address, "192,168,010", false, {}},
        {ArgShape::Address, "192,168,010,256", false, {}},
        {ArgShape::Address, "192.168.10.20", false, {}},
        {ArgShape::DateTime, "240115,103000", true, {"24,01,15", "10,30,00"}},
        {ArgShape::DateTime, "24,01,15,10,30,00", false, {}},
        {ArgShape::FlagSecret, "13581", true, {"1", "*3581"}},
        {ArgShape::FlagSecret, "x3581", false, {}},
        {ArgShape::TwoSecrets, "85138513", true, {"*8513", "*8513"}},
        {ArgShape::LengthText, "05ABCDE", true, {"ABCDE"}},
        {ArgShape::LengthText, "07ABCDE", true, {"07ABCDE"}},
        {ArgShape::Zero, "01", true, {"1"}},
        {ArgShape::Zero, "1", false, {}},
        {ArgShape::ZeroZero, "0012", true, {"12"}},
        {ArgShape::None, "", true, {}},
        {ArgShape::None, "1", false, {}},
        {ArgShape::Binary, "000123", true, {}},
        {ArgShape::Binary, "12", false, {}},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeArguments(c.shape, c.args);
        EXPECT_EQ(decoded.has_value(), c.valid) << c.args;
        EXPECT_EQ(Texts(decoded), c.values) << c.args;
    }
}

// The shipped definition file and this table must agree: every set command
// a model uses is one the printer knows, and the values it shows fill the
// reply fields the model's items name, one for one.
TEST(ParamCommands, AgreeWithTheShippedDefinitionFile) {
    const std::string path = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(path, "", &names);
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        std::shared_ptr<const PrinterModel> model = LoadPrinterModel(path, name, nullptr);
        ASSERT_NE(model, nullptr) << name;
        const ParamStore store(model);
        for (const ParamGroup& group : model->groups) {
            for (const SetCommand& set : group.setCommands) {
                const ParamCommand* command = FindSetCommandById(set.commandId);
                ASSERT_NE(command, nullptr) << name << " " << set.commandId;
                EXPECT_EQ(store.Slots(command->id).size(), ShownValueCount(command->shape))
                    << name << " " << set.commandId;
            }
        }
    }
}

}  // namespace
}  // namespace rvq::sim
