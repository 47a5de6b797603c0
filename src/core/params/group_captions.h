#pragma once

#include <string>

namespace rvq::params {

// The caption of a parameter group's check box on its page ("Password",
// "TCP/IP"), which names the group in messages and log lines; empty for
// an id that is no group check box.
std::string GroupCaption(int checkBoxId);

}  // namespace rvq::params
