#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/app/printer_definition.h"
#include "core/platform/file_io.h"

namespace rvq {
namespace {

const std::string kDefinitionFile = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";

std::vector<std::string> ModelNames() {
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(kDefinitionFile, "", &names);
    return names;
}

bool Contains(const std::vector<int>& values, int value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// What the pages and the command builder rely on: every name and id the
// groups use leads to an item of the same model.
void ExpectConsistent(const PrinterModel& model) {
    std::set<int> pages;
    for (const ParamGroup& group : model.groups) {
        pages.insert(group.pageIndex);
        for (int ctrlId : group.ctrlIds) {
            EXPECT_TRUE(std::any_of(model.items.begin(), model.items.end(),
                                    [&](const ParamItem& item) { return item.ctrlId == ctrlId; }))
                << model.name << " " << group.name << " control " << ctrlId;
        }
        for (int get : group.getCommands)
            EXPECT_TRUE(Contains(model.getCommandIndexes, get)) << group.name;
        for (const SetCommand& command : group.setCommands) {
            for (std::size_t i = 0; i < command.paramNames.size(); ++i) {
                if (command.paramTypes.at(i) == 0) continue;
                EXPECT_NE(FindItem(model, command.paramNames[i]), nullptr)
                    << model.name << " " << group.name << " param " << command.paramNames[i];
            }
        }
    }
    EXPECT_EQ(pages, (std::set<int>{0, 1, 2, 3, 4, 5, 6})) << model.name;

    for (const ParamItem& item : model.items) {
        EXPECT_EQ(item.labels.size(), item.labelsJpn.size()) << item.name;
        if (item.kind == 5) {
            EXPECT_EQ(item.labels.size(), item.commandCodes.size()) << item.name;
        }
    }
    ASSERT_EQ(model.changeItemNames.size(), model.changeItemValues.size());
    for (std::size_t k = 0; k < model.changeItemNames.size(); ++k) {
        const ParamItem* item = FindItem(model, model.changeItemNames[k]);
        ASSERT_NE(item, nullptr) << model.changeItemNames[k];
        for (const std::string& value : model.changeItemValues[k]) {
            EXPECT_NE(std::find(item->commandCodes.begin(), item->commandCodes.end(), value),
                      item->commandCodes.end())
                << model.name << " " << item->name << " " << value;
        }
    }
}

TEST(DefinitionData, EveryModelLoadsAndIsConsistent) {
    const std::vector<std::string> names = ModelNames();
    ASSERT_THAT(names, ::testing::ElementsAre("R-VQ4T1-T", "R-VQ4T1-G", "R-VQ4T2-G", "R-VQ4T2-T",
                                              "R-VQ4T2-H", "R-VQ4D2-G", "R-VQ4D2-T", "R-VQ6T2-T",
                                              "R-VQ6T2-G"));
    for (const std::string& name : names) {
        auto model = LoadPrinterModel(kDefinitionFile, name, nullptr);
        ASSERT_TRUE(model) << name;
        EXPECT_EQ(model->name, name);
        EXPECT_THAT(model->destinations, ::testing::ElementsAre("QM", "JA", "QQ", "QP", "CN"));
        EXPECT_GT(model->resolution, 0);
        EXPECT_GT(model->maxBlock, 0);
        ExpectConsistent(*model);
    }
}

TEST(DefinitionData, BaseModelHoldsEveryItemKind) {
    auto model = LoadPrinterModel(kDefinitionFile, "R-VQ4T1-T", nullptr);
    ASSERT_TRUE(model);
    std::set<int> kinds;
    for (const ParamItem& item : model->items) kinds.insert(item.kind);
    for (int kind : {1, 3, 4, 5, 6, 7, 8, 9, 10, 0x11, 0x111, 0x201, 0x1A00}) {
        EXPECT_TRUE(kinds.count(kind)) << "kind " << kind;
    }
    EXPECT_EQ(FindItem(*model, "RFID_ReadRetryTimeout")->numDefault, 10);
    EXPECT_EQ(FindItem(*model, "CharacterCode")->labelsJpn.at(0), "日本語");
    EXPECT_EQ(FindItem(*model, "RS232C_BaudRate")->textDefault, "9600");
}

// "<Name ...></Name>" written "<Name .../>"; `count` gets how many.
std::string WithSelfClosingElements(const std::string& xml, int& count) {
    std::string out;
    count = 0;
    std::size_t from = 0;
    for (std::size_t at = xml.find("></"); at != std::string::npos; at = xml.find("></", at + 1)) {
        const std::size_t open = xml.rfind('<', at);
        const std::size_t nameEnd = xml.find_first_of(" \t\r\n>", open);
        const std::string name = xml.substr(open + 1, nameEnd - open - 1);
        if (name.empty() || name[0] == '/' || name[0] == '!' || name[0] == '?') continue;
        const std::string end = "</" + name + ">";
        if (xml.compare(at + 1, end.size(), end) != 0) continue;
        out += xml.substr(from, at - from) + "/>";
        from = at + 1 + end.size();
        ++count;
    }
    return out + xml.substr(from);
}

// A reader that needs an end tag for every element can read the shipped
// file; written with self-closing elements it would read the same.
TEST(DefinitionData, EveryElementHasAnEndTag) {
    const auto xml = ReadFileBytes(kDefinitionFile);
    ASSERT_TRUE(xml);
    EXPECT_EQ(xml->find("/>"), std::string::npos);
    int converted = 0;
    const std::string selfClosing = WithSelfClosingElements(*xml, converted);
    ASSERT_GT(converted, 0);
    ASSERT_NE(selfClosing.find("<Allocate BlockSize=\"128\" MaxBlock=\"24\"/>"), std::string::npos);
    for (const std::string& name : ModelNames()) {
        const auto written = LoadPrinterModelFromMemory(*xml, name, nullptr);
        const auto closed = LoadPrinterModelFromMemory(selfClosing, name, nullptr);
        ASSERT_TRUE(written && closed) << name;
        EXPECT_TRUE(*written == *closed) << name;
    }
}

// The model is complete at the root's end tag; what follows is not read,
// not even after the whole of a large file.
TEST(DefinitionData, WhatFollowsTheRootIsNotRead) {
    const auto xml = ReadFileBytes(kDefinitionFile);
    ASSERT_TRUE(xml);
    const auto plain = LoadPrinterModel(kDefinitionFile, "R-VQ6T2-T", nullptr);
    const auto followed =
        LoadPrinterModelFromMemory(*xml + "\n<junk> & </R-VQSettingTool>", "R-VQ6T2-T", nullptr);
    ASSERT_TRUE(plain && followed);
    EXPECT_TRUE(*plain == *followed);
}

TEST(DefinitionData, ReadsTheSameUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    auto german = LoadPrinterModel(kDefinitionFile, "R-VQ6T2-T", nullptr);
    std::setlocale(LC_ALL, saved.c_str());
    auto plain = LoadPrinterModel(kDefinitionFile, "R-VQ6T2-T", nullptr);
    ASSERT_TRUE(german);
    ASSERT_TRUE(plain);
    EXPECT_EQ(german->maxWidth, plain->maxWidth);
    ASSERT_EQ(german->items.size(), plain->items.size());
    for (std::size_t i = 0; i < plain->items.size(); ++i) {
        EXPECT_EQ(german->items[i].numDefault, plain->items[i].numDefault) << plain->items[i].name;
        EXPECT_EQ(german->items[i].textDefault, plain->items[i].textDefault)
            << plain->items[i].name;
        EXPECT_EQ(german->items[i].labelsJpn, plain->items[i].labelsJpn) << plain->items[i].name;
    }
}

}  // namespace
}  // namespace rvq
