#pragma once

#include <string>

namespace rvq::params {

// The caption of a group's check box on its parameter page ("Password" for
// 4053), the name messages and job failures give a group; empty for an id
// no page has.
std::string GroupCaption(int checkBoxId);

}  // namespace rvq::params
