#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/app/file_locations.h"
#include "core/app/strings.h"
#include "core/app/tool_settings_file.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

namespace fs = std::filesystem;

// A machine in a folder: a current folder, a home, an installation under
// usr/ and a build tree under build/.
class FileLocationsTest : public ::testing::Test {
protected:
    FileLocationsTest() {
        for (const char* folder : {"work", "home", "usr/bin", "usr/share/rvq-setting-tool", "etc",
                                   "build/src/cli", "build/share/rvq-setting-tool"}) {
            fs::create_directories(root_.File(folder));
        }
        root_.Write("usr/bin/rvqtool", "");
        root_.Write("build/src/cli/rvqtool", "");
        root_.Write("build/CMakeCache.txt", "");
    }

    LocationInputs Installed() const {
        LocationInputs in;
        in.currentFolder = root_.File("work");
        in.home = root_.File("home");
        in.programFile = root_.File("usr/bin/rvqtool");
        in.machineFolder = root_.File("etc/rvq-setting-tool");
        return in;
    }

    test::TempDir root_;
};

TEST_F(FileLocationsTest, TheSettingsComeFromTheOptionTheCurrentFolderOrTheUser) {
    const std::string work = root_.File("work");
    fs::create_directories(root_.File("work/site"));
    const struct {
        std::string option;
        bool iniInWork;
        std::string configHome;
        SettingsPlace place;
        std::string ini;
        std::string store;
    } cases[] = {
        // A folder given, or a file given relative to the current folder.
        {"site", true, "", SettingsPlace::Given, work + "/site/VQTool.INI",
         work + "/site/VQTool.machine"},
        {"site/other.ini", false, "", SettingsPlace::Given, work + "/site/other.ini",
         work + "/site/VQTool.machine"},
        {"", true, "", SettingsPlace::CurrentFolder, work + "/VQTool.INI",
         work + "/VQTool.machine"},
        // Otherwise the user's folder, whose password is the machine's.
        {"", false, "", SettingsPlace::UserFolder,
         root_.File("home/.config/rvq-setting-tool/VQTool.INI"),
         root_.File("etc/rvq-setting-tool/VQTool.machine")},
        {"", false, root_.File("xdg"), SettingsPlace::UserFolder,
         root_.File("xdg/rvq-setting-tool/VQTool.INI"),
         root_.File("etc/rvq-setting-tool/VQTool.machine")},
        // A relative XDG_CONFIG_HOME is to be ignored.
        {"", false, "relative/config", SettingsPlace::UserFolder,
         root_.File("home/.config/rvq-setting-tool/VQTool.INI"),
         root_.File("etc/rvq-setting-tool/VQTool.machine")},
    };
    for (const auto& c : cases) {
        fs::remove(root_.File("work/VQTool.INI"));
        if (c.iniInWork) root_.Write("work/VQTool.INI", "");
        LocationInputs in = Installed();
        in.settingsOption = c.option;
        in.configHome = c.configHome;
        const FileLocations l = ResolveFileLocations(in);
        EXPECT_EQ(l.settingsPlace, c.place) << c.option << " " << c.configHome;
        EXPECT_EQ(l.iniPath, c.ini) << c.option << " " << c.configHome;
        EXPECT_EQ(l.settingsFolder, DirectoryOf(c.ini));
        EXPECT_EQ(l.machineStorePath, c.store) << c.option << " " << c.configHome;
    }
}

TEST_F(FileLocationsTest, DeviceLinksFollowTheConfigHome) {
    LocationInputs in = Installed();
    EXPECT_EQ(ResolveFileLocations(in).deviceFolder,
              root_.File("home/.config/rvq-setting-tool/devices"));
    in.configHome = root_.File("xdg");
    EXPECT_EQ(ResolveFileLocations(in).deviceFolder, root_.File("xdg/rvq-setting-tool/devices"));
    in.deviceFolder = root_.File("links");
    EXPECT_EQ(ResolveFileLocations(in).deviceFolder, root_.File("links"));
}

TEST_F(FileLocationsTest, DataComesFromTheSettingsFolderThenTheInstallationOrTheBuildTree) {
    root_.Write("usr/share/rvq-setting-tool/VQTool_Printer.XML", "installed");
    root_.Write("build/share/rvq-setting-tool/VQTool_Printer.XML", "built");
    LocationInputs in = Installed();
    const FileLocations installed = ResolveFileLocations(in);
    EXPECT_EQ(installed.installedFolder, root_.File("usr/share/rvq-setting-tool"));
    EXPECT_EQ(installed.buildFolder, "");
    const DataFile fromShare = FindDataFile(installed, kDefinitionsFileName);
    EXPECT_EQ(fromShare.place, DataPlace::Installed);
    EXPECT_EQ(fromShare.path, root_.File("usr/share/rvq-setting-tool/VQTool_Printer.XML"));

    in.programFile = root_.File("build/src/cli/rvqtool");
    const FileLocations built = ResolveFileLocations(in);
    EXPECT_EQ(built.installedFolder, "");
    EXPECT_EQ(FindDataFile(built, kDefinitionsFileName).path,
              root_.File("build/share/rvq-setting-tool/VQTool_Printer.XML"));

    // The program folder's own copy comes first.
    root_.Write("work/VQTool.INI", "");
    root_.Write("work/VQTool_Printer.XML", "own");
    const DataFile own = FindDataFile(ResolveFileLocations(in), kDefinitionsFileName);
    EXPECT_EQ(own.place, DataPlace::SettingsFolder);
    EXPECT_EQ(own.path, root_.File("work/VQTool_Printer.XML"));

    // Missing everywhere: one line that names the folders tried.
    const DataFile missing = FindDataFile(ResolveFileLocations(in), "help/index.html");
    EXPECT_FALSE(missing.found());
    EXPECT_EQ(missing.path, root_.File("work/help/index.html"));
    EXPECT_EQ(NotFoundMessage("help/index.html", missing),
              "help/index.html: not found (looked in " + root_.File("work") + ", " +
                  root_.File("build/share/rvq-setting-tool") + ")");
}

TEST_F(FileLocationsTest, FirstStartCopiesTheInstalledSample) {
    const std::string sample = "[HEADER]\r\nTITLE=R-VQ Setting Tool\r\n[LAN]\r\nNAME=127.0.0.1\r\n";
    LocationInputs in = Installed();
    in.configHome = root_.File("fresh/config");  // not there yet
    const FileLocations l = ResolveFileLocations(in);
    EXPECT_EQ(PrepareUserSettings(l).outcome, FirstStart::NoSample);

    root_.Write("usr/share/rvq-setting-tool/VQTool.INI", sample);
    const FirstStartResult first = PrepareUserSettings(l);
    ASSERT_EQ(first.outcome, FirstStart::Created) << first.systemError;
    EXPECT_EQ(test::ReadAll(l.iniPath), sample);
    struct stat st {};
    ASSERT_EQ(::stat(l.settingsFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The user's own settings are never replaced.
    std::ofstream(l.iniPath, std::ios::binary) << "[LANGUAGE]\r\nLANGUAGE=JPN\r\n";
    EXPECT_EQ(PrepareUserSettings(l).outcome, FirstStart::NotNeeded);
    EXPECT_EQ(test::ReadAll(l.iniPath), "[LANGUAGE]\r\nLANGUAGE=JPN\r\n");

    // A settings folder of the user's choosing is not filled in.
    root_.Write("work/VQTool.INI", "");
    const FileLocations here = ResolveFileLocations(in);
    fs::remove(here.iniPath);
    EXPECT_EQ(PrepareUserSettings(here).outcome, FirstStart::NotNeeded);
    EXPECT_FALSE(fs::exists(here.iniPath));
}

TEST_F(FileLocationsTest, SettingsFindTheirPatternFilesAndTheMachineStore) {
    root_.Write("usr/share/rvq-setting-tool/CHAR_200.DAT", "installed pattern");
    root_.Write("home/.config/rvq-setting-tool/BARCODE_300.DAT", "own pattern");
    LocationInputs in = Installed();
    in.machineFolder = root_.File("no/such/folder");
    FileLocations l = ResolveFileLocations(in);
    fs::create_directories(l.settingsFolder);
    root_.Write("home/.config/rvq-setting-tool/VQTool.INI",
                "[TEST PRINT]\r\nCHAR300=MISSING.DAT\r\n");
    const Strings strings;
    const ToolSettings t = LoadToolSettings(l, strings);
    EXPECT_EQ(t.programFolder, l.settingsFolder);
    EXPECT_EQ(t.char200Path, root_.File("usr/share/rvq-setting-tool/CHAR_200.DAT"));
    EXPECT_EQ(t.barcode300Path, root_.File("home/.config/rvq-setting-tool/BARCODE_300.DAT"));
    EXPECT_EQ(t.char300Path, root_.File("home/.config/rvq-setting-tool/MISSING.DAT"));
    EXPECT_EQ(t.locations.machineStorePath, root_.File("no/such/folder/VQTool.machine"));
    EXPECT_TRUE(t.settingsWritable);
    EXPECT_FALSE(t.machineStoreWritable);  // its folder cannot be made
}

}  // namespace
}  // namespace rvq
