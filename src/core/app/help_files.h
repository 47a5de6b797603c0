#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rvq::help {

// Where the help of one language was found. Pages missing from `folder`
// (a page not translated yet) are taken from `englishFolder`.
struct Location {
    bool found = false;
    std::string folder;              // holds the start page of the interface's language
    std::string englishFolder;       // the English help; `folder` itself when none was found
    std::string startFile;           // the start page's file name, e.g. index.html
    std::vector<std::string> tried;  // the folders looked in, for a message when none held it
};

// `dataFolders` are the data folders of FileLocations, in their order.
// `startPage` is the help file string of the interface's language (for
// example help/ja/index.html), `englishStartPage` that of the built-in
// English table; both relative to a data folder.
Location Locate(const std::vector<std::string>& dataFolders, const std::string& startPage,
                const std::string& englishStartPage);

// The path of a page of the help: in the language's folder, else in the
// English one.
std::string PagePath(const Location& location, std::string_view file);

}  // namespace rvq::help
