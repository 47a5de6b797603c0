#include "core/app/help_files.h"

#include <sys/stat.h>

#include "core/platform/file_io.h"

namespace rvq::help {

namespace {

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& relative) {
    const auto slash = relative.find_last_of('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

}  // namespace

Location Locate(const std::vector<std::string>& dataFolders, const std::string& startPage,
                const std::string& englishStartPage) {
    Location location;
    location.startFile = FileNameOf(startPage);
    for (const std::string& data : dataFolders) {
        location.tried.push_back(JoinPath(data, FolderPart(startPage)));
        if (!IsFile(JoinPath(data, startPage))) continue;
        location.found = true;
        location.folder = DirectoryOf(JoinPath(data, startPage));
        location.englishFolder = IsFile(JoinPath(data, englishStartPage))
                                     ? DirectoryOf(JoinPath(data, englishStartPage))
                                     : location.folder;
        return location;
    }
    // No help in the interface's language: the English one, if any.
    for (const std::string& data : dataFolders) {
        if (!IsFile(JoinPath(data, englishStartPage))) continue;
        location.found = true;
        location.folder = location.englishFolder = DirectoryOf(JoinPath(data, englishStartPage));
        location.startFile = FileNameOf(englishStartPage);
        return location;
    }
    return location;
}

std::string PagePath(const Location& location, std::string_view file) {
    std::string own = JoinPath(location.folder, std::string(file));
    if (IsFile(own) || location.englishFolder.empty()) return own;
    return JoinPath(location.englishFolder, std::string(file));
}

}  // namespace rvq::help
