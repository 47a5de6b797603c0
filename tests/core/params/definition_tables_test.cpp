#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/printer_definition.h"
#include "core/app/strings.h"
#include "core/params/command_args.h"
#include "core/params/command_builder.h"

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

// The arguments of a command with every item sendable: service mode on and
// the control code manual, so that the manual codes go out too.
CommandArgs CollectEverything(const PrinterModel& model, const SetCommand& command) {
    PrinterModel scratch = model;
    if (ParamItem* controlCode = FindItem(scratch, "ControlCode")) {
        for (std::size_t i = 0; i < controlCode->commandCodes.size(); ++i) {
            if (controlCode->commandCodes[i] == "3")
                controlCode->textValue = controlCode->labels[i];
        }
    }
    return CollectCommandArgs(command, scratch, {ServiceMode::Full, false});
}

// The definition file names command ids and param types; the string tables
// hold the commands. They must agree for every model: every get command has
// a command text, every param type is one the collector knows, and every
// set command builds from the models' default values.
TEST(DefinitionTables, EveryCommandOfEveryModelBuilds) {
    const Strings strings;
    const auto models = AllModels();
    ASSERT_FALSE(models.empty());
    for (const auto& model : models) {
        ASSERT_TRUE(model);
        for (int id : model->getCommandIndexes)
            EXPECT_TRUE(BuildGetCommand(strings, id)) << model->name << " " << id;
        for (const ParamGroup& group : model->groups) {
            for (int id : group.getCommands)
                EXPECT_TRUE(BuildGetCommand(strings, id)) << group.name << " " << id;
            for (const SetCommand& command : group.setCommands) {
                const std::string where =
                    model->name + " " + group.name + " " + std::to_string(command.commandId);
                EXPECT_TRUE(strings.Has(kCommandTextBase + command.commandId)) << where;
                EXPECT_EQ(command.paramNames.size(), command.paramTypes.size()) << where;
                for (int type : command.paramTypes)
                    EXPECT_TRUE(IsKnownParamType(type)) << where << " type " << type;

                const bool upload = std::any_of(
                    command.paramTypes.begin(), command.paramTypes.end(),
                    [](int t) { return t == param_type::kFile || t == param_type::kPacFile; });
                if (upload) {
                    EXPECT_TRUE(BuildBinaryHeader(strings, command.commandId, 0)) << where;
                    continue;
                }
                const CommandArgs args = CollectEverything(*model, command);
                if (args.outcome == ArgsOutcome::Skip) {
                    // Only an item the model marks as not on the printer
                    // (a direct-thermal model's ribbon) skips a command.
                    EXPECT_TRUE(std::any_of(command.paramNames.begin(), command.paramNames.end(),
                                            [&](const std::string& name) {
                                                const ParamItem* item = FindItem(*model, name);
                                                return item &&
                                                       (item->flag & item_flag::kNotOnPrinter);
                                            }))
                        << where;
                    continue;
                }
                if (args.outcome == ArgsOutcome::Numbers) {
                    EXPECT_TRUE(BuildNumericCommand(strings, command.commandId, args.numbers))
                        << where;
                } else {
                    EXPECT_EQ(args.outcome, ArgsOutcome::Texts) << where;
                    EXPECT_TRUE(BuildTextCommand(strings, command.commandId, args.texts)) << where;
                }
            }
        }
    }
}

}  // namespace
}  // namespace rvq::params
