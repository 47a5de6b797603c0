#pragma once

#include <cstdint>
#include <vector>

#include "core/builders/basic_checks.h"
#include "core/builders/basic_keywords.h"
#include "core/builders/basic_literals.h"

namespace rvq::basic {

// What the encoding of one line reads and extends.
struct LineContext {
    const BasicKeywords& keywords;
    const BasicTables& tables;
    CodePage codePage;
    std::vector<Text>& variables;  // upper-case names in order of first use
    std::vector<Text>& arrays;
    // Lines given a line-table entry so far. Errors name a line by this
    // count (the line in error included), not by its place in the file: a
    // line numbered 0 has no entry and is not counted.
    int linesCounted;
};

struct EncodedLine {
    CheckResult result;
    Bytes bytes;            // the length byte, then the tokens
    bool hasEntry = false;  // the line gets a line-table entry
    std::uint16_t lineNumber = 0;
};

// Encodes the source line at 0-based position `index`.
EncodedLine EncodeLine(TextView line, int index, LineContext& context);

}  // namespace rvq::basic
