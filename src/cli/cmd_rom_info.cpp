#include <ostream>
#include <utility>

#include "cli/cli.h"
#include "cli/cmd_rom_info.h"
#include "cli/json_writer.h"
#include "cli/text_table.h"
#include "core/builders/rom_trailer.h"

namespace rvq::cli {

namespace {

std::vector<std::pair<const char*, std::string>> Fields(const RomFileInfo& i) {
    return {{"size", i.size},           {"loadAddress", i.loadAddress}, {"date", i.date},
            {"model", i.model},         {"version", i.version},         {"section", i.section},
            {"reserved1", i.reserved1}, {"reserved2", i.reserved2},     {"magic", i.magic}};
}

}  // namespace

int RunRomInfo(CliEnv& env, const std::vector<std::string>& args) {
    if (args.empty()) return UsageError(env, "rom-info takes one or more ROM files");
    const CodePage codePage = CodePageFor(env.context.isJapanese);
    std::vector<std::pair<std::string, RomFileInfo>> read;
    int exitCode = kExitOk;
    for (const std::string& path : args) {
        if (auto info = ReadRomTrailer(path, codePage)) {
            if (info->magic != rom_trailer::kMagicText) {
                exitCode = UsageError(env, path + ": the trailer lacks \"" +
                                               std::string(rom_trailer::kMagicText) +
                                               "\"; this is not a ROM file");
            }
            read.emplace_back(path, std::move(*info));
        } else {
            exitCode = UsageError(env, path + ": cannot be read, or is not laid out as a ROM file");
        }
    }
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("roms").BeginArray();
        for (const auto& [path, info] : read) {
            json.BeginObject();
            json.Key("path").String(path);
            for (const auto& [key, value] : Fields(info)) json.Key(key).String(value);
            json.EndObject();
        }
        json.EndArray();
        return exitCode;
    }
    for (const auto& [path, info] : read) {
        env.out << path << "\n";
        TextTable table;
        for (const auto& [key, value] : Fields(info)) table.Add({key, value});
        table.Print(env.out, "  ");
    }
    return exitCode;
}

}  // namespace rvq::cli
