#pragma once

#include <string>

namespace rvq::cli {

// A status code as rvqtool shows it: "ready", "mode SETTING", "printer error (06)".
std::string StatusMeaning(int code);

}  // namespace rvq::cli
