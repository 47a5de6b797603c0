#include "core/app/save_failure.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {

// "." or "out" say little in a message: the folder is named in full.
std::string FullFolder(const std::string& folder) {
    if (!folder.empty() && folder.front() == '/') return folder;
    if (folder.empty() || folder == ".") return CurrentDirectory();
    return JoinPath(CurrentDirectory(), StartsWith(folder, "./") ? folder.substr(2) : folder);
}

}  // namespace

SaveFailureMessage SaveFailureMessageFor(const WriteResult& result, int fileMessageId,
                                         const Strings& strings) {
    switch (result.failure) {
        case WriteFailure::FolderNotWritable:
            return {sid::kMsgFolderNotWritable,
                    FormatRuntime(strings.Get(sid::kMsgFolderNotWritable),
                                  FullFolder(result.folder).c_str())};
        case WriteFailure::LinkLoop:
            return {sid::kMsgLinkLoop, strings.Get(sid::kMsgLinkLoop)};
        case WriteFailure::NotAFile:
            return {sid::kMsgNotAFile, strings.Get(sid::kMsgNotAFile)};
        case WriteFailure::None:
        case WriteFailure::FileNotWritable:
        case WriteFailure::Io:
            break;
    }
    return {fileMessageId, strings.Get(fileMessageId)};
}

}  // namespace rvq
