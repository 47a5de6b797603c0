#include "core/app/machine_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/app/ini_file.h"
#include "core/app/text.h"
#include "core/platform/utf8.h"

namespace rvq {

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kKey = "Password";
constexpr std::size_t kStoreValueLimit = 1023;  // the value buffer held 1024 bytes

}  // namespace

std::string MachineStorePath(const std::string& iniPath) {
    return JoinPath(DirectoryOf(iniPath), "VQTool.machine");
}

std::string EncodeStoredPassword(const std::string& text) {
    std::string hex;
    for (char32_t cp : DecodeUtf8(text)) hex += Format("%02X", static_cast<unsigned>(cp));
    for (char& c : hex) c = static_cast<char>(c + 19);
    return hex;
}

std::string DecodeStoredPassword(const std::string& stored) {
    const std::size_t even = stored.size() & ~static_cast<std::size_t>(1);
    std::string out;
    for (std::size_t i = 0; i < even; i += 2) {
        const int b = static_cast<unsigned char>(stored[i]);
        const int c = static_cast<unsigned char>(stored[i + 1]);
        const int code = 16 * b + c + (c < 77 ? 7 : 0) + (b < 77 ? 112 : 0) - 1258;
        // Text that was not written by the encoder can give any number;
        // keep it printable rather than producing broken UTF-8.
        AppendUtf8(out, code >= 0 ? static_cast<char32_t>(code) : 0xFFFD);
    }
    return out;
}

std::string LoadPassword(const std::string& storePath) {
    const IniFile store = IniFile::Load(storePath);
    std::string value = store.Find(kSection, kKey).value_or(std::string());
    if (value.size() > kStoreValueLimit) value.resize(kStoreValueLimit);
    return value.empty() ? std::string() : DecodeStoredPassword(value);
}

std::string UnreadableStoreProblem(const std::string& storePath) {
    const int fd = ::open(storePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return storePath + ": the login password store cannot be read (" + std::strerror(errno) +
           "); ask whoever set the password for access";
}

WriteResult SavePassword(const std::string& storePath, const std::string& password) {
    // A store left readable by others (copied in, or written by an older
    // version) loses those bits with the write. The machine-wide folder
    // exists only once a password was stored.
    const std::string folder = DirectoryOf(storePath);
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        WriteResult failed;
        failed.systemError = errno;
        failed.failure = WriteFailure::FolderNotWritable;
        failed.folder = folder;
        return failed;
    }
    IniFile store = IniFile::Load(storePath);
    store.Set(kSection, kKey, EncodeStoredPassword(password));
    return store.Save(storePath, FileAccess::Private);
}

}  // namespace rvq
