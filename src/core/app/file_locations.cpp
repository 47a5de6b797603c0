#include "core/app/file_locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "core/platform/file_io.h"

// The installed data folder relative to the installed programs, from the
// build's install layout (e.g. "../share/rvq-setting-tool").
#ifndef RVQ_DATA_FROM_BINDIR
#define RVQ_DATA_FROM_BINDIR "../share/rvq-setting-tool"
#endif

namespace rvq {

namespace {

// The build places its copy of the data here, below the build tree's top.
constexpr const char* kBuildDataFolder = "share/rvq-setting-tool";
// How far above a program's folder the top of a build tree may lie
// (build/src/cli/rvqtool: two).
constexpr int kBuildTreeDepth = 3;

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string Normal(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

std::string Absolute(const std::string& path, const std::string& base) {
    if (path.empty() || path.front() == '/') return Normal(path);
    return Normal(JoinPath(base, path));
}

std::string Getenv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string ProgramFile() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string UserFolderOf(const LocationInputs& in) {
    const bool configHomeUsable = !in.configHome.empty() && in.configHome.front() == '/';
    const std::string base = configHomeUsable ? in.configHome : JoinPath(in.home, ".config");
    return Normal(JoinPath(base, "rvq-setting-tool"));
}

// The build tree's data copy when the program lies in a build tree: a
// folder above it holds CMakeCache.txt and the copy.
std::string BuildFolderOf(const std::string& programFolder) {
    std::string folder = programFolder;
    for (int level = 0; level <= kBuildTreeDepth && !folder.empty(); ++level) {
        if (Exists(JoinPath(folder, "CMakeCache.txt"))) {
            const std::string data = JoinPath(folder, kBuildDataFolder);
            return IsDirectory(data) ? data : std::string();
        }
        if (folder == "/") break;
        folder = DirectoryOf(folder);
    }
    return {};
}

bool MakeFolders(const std::string& folder) {
    if (IsDirectory(folder)) return true;
    const std::string parent = DirectoryOf(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

LocationInputs LocationInputs::FromProcess(const std::string& settingsOption) {
    LocationInputs in;
    in.currentFolder = CurrentDirectory();
    in.settingsOption = settingsOption;
    in.configHome = Getenv("XDG_CONFIG_HOME");
    in.home = Getenv("HOME");
    if (in.home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
            in.home = user->pw_dir;
    }
    in.programFile = ProgramFile();
    in.machineFolder = kMachineFolder;
    in.deviceFolder = Getenv("RVQ_DEVICE_DIR");
    return in;
}

std::vector<std::string> FileLocations::DataFolders() const {
    std::vector<std::string> folders;
    for (const std::string* folder : {&settingsFolder, &installedFolder, &buildFolder}) {
        if (folder->empty()) continue;
        bool repeated = false;
        for (const auto& f : folders) repeated = repeated || f == *folder;
        if (!repeated) folders.push_back(*folder);
    }
    return folders;
}

FileLocations FileLocations::InFolder(const std::string& iniPath, const std::string& folder) {
    FileLocations l;
    l.iniPath = iniPath;
    l.settingsFolder = folder;
    l.settingsPlace = SettingsPlace::Given;
    l.machineStorePath = JoinPath(DirectoryOf(iniPath), kMachineStoreName);
    return l;
}

FileLocations ResolveFileLocations(const LocationInputs& in) {
    FileLocations l;
    l.userFolder = UserFolderOf(in);
    const std::string here = Normal(in.currentFolder);
    if (!in.settingsOption.empty()) {
        const std::string given = Absolute(in.settingsOption, here);
        l.settingsPlace = SettingsPlace::Given;
        l.settingsFolder = IsDirectory(given) ? given : DirectoryOf(given);
        l.iniPath = IsDirectory(given) ? JoinPath(given, kSettingsFileName) : given;
    } else if (Exists(JoinPath(here, kSettingsFileName))) {
        l.settingsPlace = SettingsPlace::CurrentFolder;
        l.settingsFolder = here;
        l.iniPath = JoinPath(here, kSettingsFileName);
    } else {
        l.settingsPlace = SettingsPlace::UserFolder;
        l.settingsFolder = l.userFolder;
        l.iniPath = JoinPath(l.userFolder, kSettingsFileName);
    }
    // The login password is a machine-wide value: a settings folder the
    // user chose keeps its own, the per-user settings share the machine's.
    l.machineStorePath = l.settingsPlace == SettingsPlace::UserFolder
                             ? JoinPath(in.machineFolder, kMachineStoreName)
                             : JoinPath(l.settingsFolder, kMachineStoreName);
    l.deviceFolder = DeviceLinkFolder(in);
    if (!in.programFile.empty()) {
        const std::string programFolder = DirectoryOf(in.programFile);
        const std::string installed = Normal(JoinPath(programFolder, RVQ_DATA_FROM_BINDIR));
        if (IsDirectory(installed)) l.installedFolder = installed;
        l.buildFolder = BuildFolderOf(programFolder);
    }
    return l;
}

std::string DeviceLinkFolder(const LocationInputs& in) {
    if (!in.deviceFolder.empty()) return in.deviceFolder;
    return JoinPath(UserFolderOf(in), "devices");
}

DataFile FindDataFile(const FileLocations& locations, const std::string& name) {
    DataFile file;
    file.searched = locations.DataFolders();
    for (const std::string& folder : file.searched) {
        const std::string path = JoinPath(folder, name);
        if (!Exists(path)) continue;
        file.path = path;
        file.place = DataPlaceOf(locations, path);
        return file;
    }
    file.path = JoinPath(locations.settingsFolder, name);
    return file;
}

DataPlace DataPlaceOf(const FileLocations& locations, const std::string& path) {
    if (!Exists(path)) return DataPlace::NotFound;
    auto under = [&](const std::string& folder) {
        return !folder.empty() && path.starts_with(folder) && path.size() > folder.size() &&
               (folder.back() == '/' || path[folder.size()] == '/');
    };
    if (under(locations.settingsFolder)) return DataPlace::SettingsFolder;
    if (under(locations.installedFolder)) return DataPlace::Installed;
    if (under(locations.buildFolder)) return DataPlace::BuildTree;
    return DataPlace::SettingsFolder;
}

std::string NotFoundMessage(const std::string& name, const DataFile& file) {
    std::string folders;
    for (const auto& f : file.searched) folders += (folders.empty() ? "" : ", ") + f;
    return name + ": not found (looked in " + folders + ")";
}

const char* SettingsPlaceName(SettingsPlace place) {
    switch (place) {
        case SettingsPlace::Given:
            return "--settings";
        case SettingsPlace::CurrentFolder:
            return "current folder";
        case SettingsPlace::UserFolder:
            return "per-user folder";
    }
    return "";
}

const char* DataPlaceName(DataPlace place) {
    switch (place) {
        case DataPlace::SettingsFolder:
            return "settings folder";
        case DataPlace::Installed:
            return "installed";
        case DataPlace::BuildTree:
            return "build tree";
        case DataPlace::NotFound:
            return "not found";
    }
    return "";
}

FirstStartResult PrepareUserSettings(const FileLocations& locations) {
    FirstStartResult result;
    if (locations.settingsPlace != SettingsPlace::UserFolder || Exists(locations.iniPath))
        return result;
    // The sample comes from the installation, never from the (still
    // empty) settings folder itself.
    FileLocations shipped = locations;
    shipped.settingsFolder.clear();
    const DataFile sample = FindDataFile(shipped, kSettingsFileName);
    if (!sample.found()) {
        result.outcome = FirstStart::NoSample;
        return result;
    }
    result.samplePath = sample.path;
    const auto bytes = ReadFileBytes(sample.path);
    if (!bytes) {
        result.outcome = FirstStart::Failed;
        result.systemError = errno;
        return result;
    }
    if (!MakeFolders(locations.settingsFolder)) {
        result.outcome = FirstStart::Failed;
        result.systemError = errno;
        return result;
    }
    const WriteResult written = WriteFileAtomically(locations.iniPath, *bytes);
    result.outcome = written ? FirstStart::Created : FirstStart::Failed;
    result.systemError = written.systemError;
    return result;
}

bool CanWrite(const std::string& path) {
    if (Exists(path))
        return ::access(path.c_str(), W_OK) == 0 && ::access(DirectoryOf(path).c_str(), W_OK) == 0;
    std::string folder = DirectoryOf(path);
    if (!IsDirectory(folder)) folder = DirectoryOf(folder);
    return ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace rvq
