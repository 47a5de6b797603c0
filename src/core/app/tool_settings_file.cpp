#include "core/app/tool_settings_file.h"

#include "core/app/ini_file.h"
#include "core/app/machine_store.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {

// Reads keys and notes for each field whether the file supplied it.
class Reader {
public:
    Reader(const IniFile& ini, const Strings& strings, ToolSettings& settings)
        : ini_(ini), s_(strings), settings_(settings) {}

    // The value of section/key, or the default text; records the source.
    std::string Text(const char* field, int section, int key, const std::string& fallback) {
        return TextKey(field, section, s_.Get(key), fallback);
    }
    std::string TextKey(const char* field, int section, const std::string& key,
                        const std::string& fallback) {
        const auto value = ini_.Find(s_.Get(section), key);
        const bool fromFile = value && !value->empty();
        if (field != nullptr) Note(field, fromFile);
        return fromFile ? *value : fallback;
    }
    void Note(const char* field, bool fromFile) {
        settings_.sources.emplace_back(field,
                                       fromFile ? SettingSource::File : SettingSource::Default);
    }

private:
    const IniFile& ini_;
    const Strings& s_;
    ToolSettings& settings_;
};

std::string TestPrintPath(const FileLocations& locations, const std::string& value,
                          const char* defaultName) {
    return FindDataFile(locations, value.empty() ? std::string(defaultName) : value).path;
}

void ReadTestPrint(Reader& r, const Strings& s, ToolSettings& t) {
    using namespace sid;
    auto pair = [&](const char* field, int key, int(&out)[2], int d0, int d1) {
        const std::string text = r.Text(field, kSecTestPrint, key, "");
        if (text.empty()) {
            out[0] = d0;
            out[1] = d1;
            return;
        }
        const auto values = ParseIntList(text, ',', 2);
        out[0] = values[0];
        out[1] = values[1];
    };
    pair("slash1", kKeySlash1, t.slash1, 5, 1);
    pair("slash3", kKeySlash1 + 1, t.slash3, 15, 3);
    struct PathKey {
        const char* field;
        std::string* target;
        const char* defaultName;
    };
    const PathKey paths[] = {{"char200Path", &t.char200Path, "CHAR_200.DAT"},
                             {"char300Path", &t.char300Path, "CHAR_300.DAT"},
                             {"barcode200Path", &t.barcode200Path, "BARCODE_200.DAT"},
                             {"barcode300Path", &t.barcode300Path, "BARCODE_300.DAT"},
                             {"char600Path", &t.char600Path, "CHAR_600.DAT"},
                             {"barcode600Path", &t.barcode600Path, "BARCODE_600.DAT"}};
    int key = kKeySlash1 + 2;
    for (const auto& p : paths) {
        *p.target =
            TestPrintPath(t.locations, r.Text(p.field, kSecTestPrint, key++, ""), p.defaultName);
    }
    (void)s;
}

void ReadAll(const IniFile& ini, const Strings& s, ToolSettings& t) {
    using namespace sid;
    Reader r(ini, s, t);
    t.language = r.Text("language", kSecLanguage, kKeyLanguage, s.Get(kDefLanguage));
    t.printerModel = r.Text("printerModel", kSecPrinter, kKeyPrinter, s.Get(kDefPrinter));
    t.destination = r.Text("destination", kSecPrinter, kKeyDestination, s.Get(kDefDestination));
    t.interfaceName = r.Text("interfaceName", kSecPrinter, kKeyDevice, s.Get(kDefDevice));

    // The port's default text is "1 bit", which reads as the number 1.
    t.comPort = ParseLeadingInt(r.Text("comPort", kSecCom, kKeyPort, s.Get(kDefStop)));
    t.baudRate = r.Text("baudRate", kSecCom, kKeyBps, s.Get(kDefBps));
    t.dataLength = r.Text("dataLength", kSecCom, kKeyData, s.Get(kDefData));
    t.stopBit = r.Text("stopBit", kSecCom, kKeyStop, s.Get(kDefStop));
    t.parity = r.Text("parity", kSecCom, kKeyParity, s.Get(kDefParity));
    t.flowControl = r.Text("flowControl", kSecCom, kKeyFlow, s.Get(kDefFlow));
    if (t.parity == "NONE") t.parity = "None";
    if (t.parity == "EVEN") t.parity = "Even";
    if (t.parity == "ODD") t.parity = "Odd";

    t.usbProductIds.clear();
    for (int i = 1; i <= 98; ++i) {
        const std::string id =
            r.TextKey(nullptr, kSecUsb, s.Get(kKeyProductId) + std::to_string(i), "");
        if (id.empty()) break;
        t.usbProductIds.push_back(ParseLeadingInt(id));
    }
    r.Note("usbProductIds", !t.usbProductIds.empty());
    if (t.usbProductIds.empty()) t.usbProductIds.push_back(ParseLeadingInt(s.Get(kDefProductId)));
    t.usbSerialNumber = r.Text("usbSerialNumber", kSecUsb, kKeySerialNo, "");

    t.lanHost = r.Text("lanHost", kSecLan, kKeyName, s.Get(kDefLanName));
    t.lanPort = ParseLeadingInt(r.Text("lanPort", kSecLan, kKeyPort, "8000"));

    const int count = ParseLeadingInt(r.Text("multiLan", kSecLanMulti, kKeyCount, "0"));
    t.multiLanHosts.clear();
    t.multiLanPorts.clear();
    for (int i = 1; i <= count; ++i) {
        const std::string host =
            r.TextKey(nullptr, kSecLanMulti, FormatRuntime(s.Get(kKeyNameN), i), "");
        const std::string port =
            r.TextKey(nullptr, kSecLanMulti, FormatRuntime(s.Get(kKeyPortN), i), "");
        if (host.empty() || port.empty()) break;
        t.multiLanHosts.push_back(host);
        t.multiLanPorts.push_back(ParseLeadingInt(port));
    }

    t.controlCodeType = r.Text("controlCodeType", kSecCommand, kKeyType, s.Get(kDefCommandType));
    t.controlCodes.code1 = static_cast<unsigned char>(
        ParseLeadingHex(r.Text("code1", kSecCommand, kKeyCode1, s.Get(kDefCode1))));
    t.controlCodes.code2 = static_cast<unsigned char>(
        ParseLeadingHex(r.Text("code2", kSecCommand, kKeyCode2, s.Get(kDefCode2))));
    t.controlCodes.code3 = static_cast<unsigned char>(
        ParseLeadingHex(r.Text("code3", kSecCommand, kKeyCode3, s.Get(kDefCode3))));
    if (!ControlCodesDiffer(t.controlCodes)) {
        // Equal codes cannot frame a command; they are never used or kept.
        t.controlCodes = ControlCodes{};
        t.equalCodesReplaced = true;
        for (auto& [field, source] : t.sources) {
            if (field == "code1" || field == "code2" || field == "code3")
                source = SettingSource::Default;
        }
    }

    t.fontToolPath = r.Text("fontToolPath", kSecTtfDownload, kKeyPath, "");
    t.timeoutSeconds =
        ParseLeadingInt(r.Text("timeoutSeconds", kSecTimeout, kKeyWaitTime, s.Get(kDefWaitTime)));
    t.typeFree = ParseLeadingInt(r.Text("typeFree", kSecEnhance, kKeyTypeFree, "")) == 1;
    ReadTestPrint(r, s, t);
    t.downloadMode = r.Text("downloadMode", kSecDownloadMode, kKeyDlMode, "") == "1";
}

}  // namespace

std::string DefaultIniPath(const std::string& programFolder) {
    return JoinPath(programFolder, "VQTool.INI");
}

bool SettingsWritable(const std::string& iniPath) { return MayWriteFile(iniPath); }

ToolSettings LoadToolSettings(const std::string& iniPath, const std::string& programFolder,
                              const Strings& strings) {
    return LoadToolSettings(FileLocations::InFolder(iniPath, programFolder), strings);
}

ToolSettings LoadToolSettings(const FileLocations& locations, const Strings& strings) {
    ToolSettings settings;
    settings.locations = locations;
    settings.iniPath = locations.iniPath;
    settings.programFolder = locations.settingsFolder;
    const std::string& iniPath = settings.iniPath;

    const IniFile ini = IniFile::Load(iniPath);
    const std::string title = ini.Get(strings.Get(sid::kSecHeader), strings.Get(sid::kKeyTitle));
    if (!title.empty() && title != strings.Get(sid::kDefTitle)) return settings;

    ReadAll(ini, strings, settings);
    settings.loaded = true;
    // The font tool's place is taken as stored; there are no shell links to
    // resolve here.
    settings.password = LoadPassword(locations.machineStorePath);
    settings.passwordStoreProblem = UnreadableStoreProblem(locations.machineStorePath);
    settings.settingsWritable = SettingsWritable(iniPath);
    settings.machineStoreWritable = CanWrite(locations.machineStorePath);
    return settings;
}

WriteResult SaveToolSettings(const ToolSettings& t, const Strings& s) {
    if (!t.settingsWritable) return {true, 0, WriteFailure::None, {}};
    using namespace sid;
    IniFile ini = IniFile::Load(t.iniPath);
    auto set = [&](int section, int key, const std::string& value) {
        ini.Set(s.Get(section), s.Get(key), value);
    };
    set(kSecLanguage, kKeyLanguage, t.language);
    set(kSecPrinter, kKeyPrinter, t.printerModel);
    set(kSecPrinter, kKeyDestination, t.destination);
    set(kSecPrinter, kKeyDevice, t.interfaceName.text());
    set(kSecCom, kKeyPort, Format("%d", t.comPort));
    set(kSecCom, kKeyBps, t.baudRate);
    set(kSecCom, kKeyData, t.dataLength);
    set(kSecCom, kKeyStop, t.stopBit);
    set(kSecCom, kKeyParity, t.parity);
    set(kSecCom, kKeyFlow, t.flowControl);
    set(kSecUsb, kKeySerialNo, t.usbSerialNumber);
    set(kSecLan, kKeyName, t.lanHost);
    set(kSecLan, kKeyPort, Format("%d", t.lanPort));

    ini.DeleteSection(s.Get(kSecLanMulti));
    const std::size_t count = std::min(t.multiLanHosts.size(), t.multiLanPorts.size());
    set(kSecLanMulti, kKeyCount, Format("%d", static_cast<int>(count)));
    for (std::size_t i = 0; i < count; ++i) {
        const int n = static_cast<int>(i) + 1;
        ini.Set(s.Get(kSecLanMulti), FormatRuntime(s.Get(kKeyNameN), n), t.multiLanHosts[i]);
        ini.Set(s.Get(kSecLanMulti), FormatRuntime(s.Get(kKeyPortN), n),
                Format("%d", t.multiLanPorts[i]));
    }

    set(kSecCommand, kKeyType, t.controlCodeType);
    set(kSecCommand, kKeyCode1, Format("%02X", t.controlCodes.code1));
    set(kSecCommand, kKeyCode2, Format("%02X", t.controlCodes.code2));
    set(kSecCommand, kKeyCode3, Format("%02X", t.controlCodes.code3));
    set(kSecTtfDownload, kKeyPath, t.fontToolPath);
    set(kSecTimeout, kKeyWaitTime, Format("%d", t.timeoutSeconds));
    return ini.Save(t.iniPath);
}

int ClassifyWindowsVersion(int platformId, int major, int minor, bool workstation,
                           const std::string& servicePack) {
    if (platformId == 1) {
        if (major != 4) return 0;
        if (minor == 0) return 1;
        if (minor == 10) {
            std::string compact;
            for (char c : servicePack) {
                if (c != ' ') compact += c;
            }
            return compact == "A" ? 3 : 2;
        }
        if (minor == 90) return 4;
        return 0;
    }
    if (platformId == 2) {
        if (major == 4) return 5;
        if (major == 5) {
            if (minor == 0) return 6;
            if (minor == 1) return 7;
            if (minor == 2) return 8;
            return 0;
        }
        if (major == 6) {
            if (workstation) return minor == 0 ? 9 : minor == 1 ? 10 : 13;
            return minor == 0 ? 11 : minor == 1 ? 12 : 0;
        }
    }
    return 0;
}

}  // namespace rvq
