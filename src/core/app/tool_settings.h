#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/app/file_locations.h"
#include "core/comm/port/interface_kind.h"

namespace rvq {

class Strings;

// The three bytes that replace the leading ESC, the final LF and the
// terminating NUL of every printer command.
struct ControlCodes {
    unsigned char code1 = 0x1B;
    unsigned char code2 = 0x0A;
    unsigned char code3 = 0x00;
    bool operator==(const ControlCodes&) const = default;
};

// Every command is framed by the three codes, so no two may be the same
// byte (compared as numbers: "1b" and "1B" are one code).
inline bool ControlCodesDiffer(const ControlCodes& c) {
    return c.code1 != c.code2 && c.code1 != c.code3 && c.code2 != c.code3;
}

// Where each field's value came from, for `rvqtool config`.
enum class SettingSource { Default, File, Computed, CommandLine };

// The tool's configuration, read from VQTool.INI.
struct ToolSettings {
    std::string iniPath;
    std::string language = "ENG";
    std::string printerModel = "R-VQ4T1-T";
    std::string destination = "QM";
    InterfaceName interfaceName{NameOf(InterfaceKind::Usb)};
    int comPort = 1;
    std::string baudRate = "9600 bps";
    std::string dataLength = "8 bits";
    std::string stopBit = "1 bit";
    std::string parity = "None";
    std::string flowControl = "XON/XOF + READY/BUSY AUTO";
    std::vector<int> usbProductIds{83};
    std::string usbSerialNumber;
    std::string usbDevicePath;  // not stored; set when exactly one USB printer matched
    std::string lanHost = "192.168.10.20";
    int lanPort = 8000;
    std::vector<std::string> multiLanHosts;
    std::vector<int> multiLanPorts;  // parallel to multiLanHosts
    std::string controlCodeType = "AUTO";
    ControlCodes controlCodes;
    std::string fontToolPath;
    int timeoutSeconds = 20;
    bool typeFree = false;
    int slash1[2] = {5, 1};
    int slash3[2] = {15, 3};
    std::string char200Path, char300Path, barcode200Path, barcode300Path, char600Path,
        barcode600Path;
    bool downloadMode = false;
    std::string password;
    std::string passwordStoreProblem;   // the store exists but this user cannot read it
    bool settingsWritable = false;      // VQTool.INI can be saved by this user
    bool machineStoreWritable = false;  // the login password can be changed by this user
    std::string programFolder;          // the settings folder
    FileLocations locations;            // where every file of the program is
    bool loaded = false;
    // VQTool.INI held two equal control codes; the standard codes
    // (1B 0A 00) are used in their place.
    bool equalCodesReplaced = false;

    // Field name -> where its value came from (filled by LoadToolSettings).
    std::vector<std::pair<std::string, SettingSource>> sources;
};

// The interface name and settings string that open a printer port.
struct Connection {
    InterfaceName interfaceName;
    std::string settings;
};

}  // namespace rvq
