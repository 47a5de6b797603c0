#pragma once

#include <string>

namespace rvq {
class Strings;
}

namespace rvq::params {

// The caption of a parameter group's check box on its page ("Password",
// "TCP/IP") in the table's language, which names the group in messages
// and log lines; empty for an id that is no group check box.
std::string GroupCaption(const Strings& strings, int checkBoxId);

}  // namespace rvq::params
