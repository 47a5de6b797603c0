#include <ostream>
#include <sstream>

#include "cli/cli.h"
#include "cli/cmd_config.h"
#include "cli/json_writer.h"
#include "core/app/file_locations.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"

namespace rvq::cli {

namespace {

const char* SourceName(SettingSource s) {
    switch (s) {
        case SettingSource::File:
            return "file";
        case SettingSource::Default:
            return "default";
        case SettingSource::Computed:
            return "computed";
        case SettingSource::CommandLine:
            return "command line";
    }
    return "";
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& i : items) out += (out.empty() ? "" : ", ") + i;
    return out;
}

// Field name and its value as text, in the order of the settings file.
std::vector<std::pair<std::string, std::string>> Fields(const ToolSettings& t) {
    std::vector<std::string> ids;
    for (int id : t.usbProductIds) ids.push_back(std::to_string(id));
    std::vector<std::string> multi;
    for (std::size_t i = 0; i < t.multiLanHosts.size() && i < t.multiLanPorts.size(); ++i) {
        multi.push_back(t.multiLanHosts[i] + ":" + std::to_string(t.multiLanPorts[i]));
    }
    return {
        {"language", t.language},
        {"printerModel", t.printerModel},
        {"destination", t.destination},
        {"interfaceName", t.interfaceName.text()},
        {"comPort", std::to_string(t.comPort)},
        {"baudRate", t.baudRate},
        {"dataLength", t.dataLength},
        {"stopBit", t.stopBit},
        {"parity", t.parity},
        {"flowControl", t.flowControl},
        {"usbProductIds", Join(ids)},
        {"usbSerialNumber", t.usbSerialNumber},
        {"lanHost", t.lanHost},
        {"lanPort", std::to_string(t.lanPort)},
        {"multiLan", Join(multi)},
        {"controlCodeType", t.controlCodeType},
        {"code1", Format("%02X", t.controlCodes.code1)},
        {"code2", Format("%02X", t.controlCodes.code2)},
        {"code3", Format("%02X", t.controlCodes.code3)},
        {"fontToolPath", t.fontToolPath},
        {"timeoutSeconds", std::to_string(t.timeoutSeconds)},
        {"typeFree", t.typeFree ? "1" : "0"},
        {"slash1", Format("%d,%d", t.slash1[0], t.slash1[1])},
        {"slash3", Format("%d,%d", t.slash3[0], t.slash3[1])},
        {"char200Path", t.char200Path},
        {"char300Path", t.char300Path},
        {"barcode200Path", t.barcode200Path},
        {"barcode300Path", t.barcode300Path},
        {"char600Path", t.char600Path},
        {"barcode600Path", t.barcode600Path},
        {"downloadMode", t.downloadMode ? "1" : "0"},
    };
}

struct UsedFile {
    std::string name;
    std::string path;
    std::string from;
};

// Every file the tool reads besides the settings, and where it came from.
std::vector<UsedFile> UsedFiles(const CliEnv& env) {
    const ToolSettings& t = env.context.settings;
    const FileLocations& l = t.locations;
    std::vector<UsedFile> files;
    const std::string definitionsFrom = env.options.definitions
                                            ? "--definitions"
                                            : DataPlaceName(DataPlaceOf(l, env.definitionsPath));
    files.push_back({"definitions", env.definitionsPath, definitionsFrom});
    auto data = [&](const char* name, const std::string& relative) {
        const DataFile f = FindDataFile(l, relative);
        files.push_back({name, f.path, DataPlaceName(f.place)});
    };
    data("japaneseTable", env.context.strings.Get(sid::kJapaneseLibrary));
    data("help", env.context.strings.Get(sid::kHelpFile));
    for (const auto& [name, path] : {std::pair{"char200Path", &t.char200Path},
                                     {"char300Path", &t.char300Path},
                                     {"char600Path", &t.char600Path},
                                     {"barcode200Path", &t.barcode200Path},
                                     {"barcode300Path", &t.barcode300Path},
                                     {"barcode600Path", &t.barcode600Path}}) {
        files.push_back({name, *path, DataPlaceName(DataPlaceOf(l, *path))});
    }
    files.push_back({"deviceLinks", l.deviceFolder, ""});
    return files;
}

SettingSource SourceOf(const ToolSettings& t, const std::string& field) {
    for (const auto& [name, source] : t.sources) {
        if (name == field) return source;
    }
    return SettingSource::Default;
}

}  // namespace

int RunConfig(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "config takes no arguments");
    const ToolSettings& t = env.context.settings;
    const auto fields = Fields(t);
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("iniPath").String(t.iniPath);
        json.Key("iniFrom").String(SettingsPlaceName(t.locations.settingsPlace));
        json.Key("settingsWritable").Bool(t.settingsWritable);
        json.Key("machineStore").String(t.locations.machineStorePath);
        json.Key("machineStoreWritable").Bool(t.machineStoreWritable);
        json.Key("loginPassword").Bool(!t.password.empty());
        json.Key("dataFolders").BeginArray();
        for (const auto& folder : t.locations.DataFolders()) json.String(folder);
        json.EndArray();
        json.Key("files").BeginArray();
        for (const UsedFile& f : UsedFiles(env)) {
            json.BeginObject();
            json.Key("name").String(f.name);
            json.Key("path").String(f.path);
            json.Key("from").String(f.from);
            json.EndObject();
        }
        json.EndArray();
        json.Key("fields").BeginArray();
        for (const auto& [name, value] : fields) {
            json.BeginObject();
            json.Key("name").String(name);
            json.Key("value").String(value);
            json.Key("source").String(SourceName(SourceOf(t, name)));
            json.EndObject();
        }
        json.EndArray();
        return kExitOk;
    }
    env.out << "settings file     " << t.iniPath << "  ("
            << SettingsPlaceName(t.locations.settingsPlace) << ")\n";
    env.out << "can be saved      " << (t.settingsWritable ? "yes" : "no") << "\n";
    env.out << "machine store     " << t.locations.machineStorePath
            << "  (can be written: " << (t.machineStoreWritable ? "yes" : "no") << ")\n";
    env.out << "login password    "
            << (!t.passwordStoreProblem.empty() ? "cannot be read"
                : t.password.empty()            ? "none"
                                                : "set")
            << "\n";
    std::string folders;
    for (const auto& folder : t.locations.DataFolders())
        folders += (folders.empty() ? "" : ", ") + folder;
    env.out << "data folders      " << folders << "\n";
    for (const UsedFile& f : UsedFiles(env)) {
        std::string label = f.name;
        label.resize(18, ' ');
        env.out << label << f.path << (f.from.empty() ? "" : "  (" + f.from + ")") << "\n";
    }
    env.out << "\n";
    for (const auto& [name, value] : fields) {
        std::string label = name;
        label.resize(18, ' ');
        std::string shown = value;
        if (shown.size() < 40) shown.resize(40, ' ');
        env.out << label << shown << "  (" << SourceName(SourceOf(t, name)) << ")\n";
    }
    return kExitOk;
}

}  // namespace rvq::cli
