#pragma once

#include <string>

namespace rvq::docgen {

// Text as roff shows it literally: backslashes and hyphens escaped, a line
// that would start with a control character protected.
std::string RoffText(const std::string& text);

// Lines shown as they are (.nf ... .fi), e.g. a usage text.
std::string RoffVerbatim(const std::string& text);

// Running text; blank lines in `text` become paragraph breaks.
std::string RoffParagraphs(const std::string& text);

}  // namespace rvq::docgen
