#pragma once

#include <string>
#include <vector>

namespace rvq {

// Where the settings file was found.
enum class SettingsPlace {
    Given,          // --settings FILE or FOLDER
    CurrentFolder,  // the current folder holds VQTool.INI
    UserFolder,     // $XDG_CONFIG_HOME/rvq-setting-tool (default ~/.config/rvq-setting-tool)
};

// Where a data file (definitions, Japanese table, help, test patterns) was found.
enum class DataPlace { SettingsFolder, Installed, BuildTree, NotFound };

// What the places depend on. FromProcess() reads them from the running
// program; tests fill in their own.
struct LocationInputs {
    std::string currentFolder;
    std::string settingsOption;  // --settings; empty when not given
    std::string configHome;      // $XDG_CONFIG_HOME; empty or relative counts as unset
    std::string home;            // $HOME
    std::string programFile;     // the running executable
    std::string machineFolder;   // the folder of the machine-wide store
    std::string deviceFolder;    // $RVQ_DEVICE_DIR; empty when unset

    static LocationInputs FromProcess(const std::string& settingsOption = {});
};

// Every place the programs read or write their own files, decided once.
struct FileLocations {
    std::string iniPath;
    std::string settingsFolder;  // the program folder; data files here come first
    SettingsPlace settingsPlace = SettingsPlace::CurrentFolder;
    std::string userFolder;        // the per-user settings folder, used or not
    std::string machineStorePath;  // the login password
    std::string deviceFolder;      // where COMn and LPTn may be links to device nodes
    std::string installedFolder;   // share/rvq-setting-tool beside the program; empty when absent
    std::string buildFolder;       // the build tree's copy of the data; empty outside a build tree

    // The folders data files are looked up in, in order, without repeats.
    std::vector<std::string> DataFolders() const;
    // Settings and data both in one folder, as a test or an old caller has
    // them; the machine store beside the settings file.
    static FileLocations InFolder(const std::string& iniPath, const std::string& folder);
};

inline constexpr const char* kSettingsFileName = "VQTool.INI";
inline constexpr const char* kDefinitionsFileName = "VQTool_Printer.XML";
inline constexpr const char* kMachineStoreName = "VQTool.machine";
inline constexpr const char* kMachineFolder = "/etc/rvq-setting-tool";

FileLocations ResolveFileLocations(const LocationInputs& inputs);

// $RVQ_DEVICE_DIR, else the "devices" folder of the per-user settings
// folder, for callers that need nothing else.
std::string DeviceLinkFolder(const LocationInputs& inputs);

struct DataFile {
    std::string path;  // where it was found; when not found, where it was expected first
    DataPlace place = DataPlace::NotFound;
    std::vector<std::string> searched;  // the folders looked in
    bool found() const { return place != DataPlace::NotFound; }
};

// `name` (may hold folders, e.g. "help/index.html") in the first data
// folder that has it.
DataFile FindDataFile(const FileLocations& locations, const std::string& name);

// Where a path FindDataFile gave lies (NotFound when the file is missing).
DataPlace DataPlaceOf(const FileLocations& locations, const std::string& path);

// "VQTool_Printer.XML: not found (looked in /a, /b)".
std::string NotFoundMessage(const std::string& name, const DataFile& file);

const char* SettingsPlaceName(SettingsPlace place);
const char* DataPlaceName(DataPlace place);

enum class FirstStart { NotNeeded, Created, NoSample, Failed };
struct FirstStartResult {
    FirstStart outcome = FirstStart::NotNeeded;
    int systemError = 0;
    std::string samplePath;
};

// With the per-user folder and no settings file there yet: creates the
// folder (0700, as the base directory rules ask) and copies the sample
// settings file of the installation (or the build tree) into it.
FirstStartResult PrepareUserSettings(const FileLocations& locations);

// This user may write `path`: the file when it exists, otherwise its folder
// (or, when the folder is missing too, the folder that would hold it).
bool CanWrite(const std::string& path);

}  // namespace rvq
