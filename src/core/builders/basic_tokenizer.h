#pragma once

#include "core/builders/basic_text.h"

namespace rvq::basic {

struct Token {
    Text text;
    TextView rest;              // what follows the token on the line
    bool endOfLine = false;     // nothing but spaces and tabs was left
    char32_t delimiter = U' ';  // the character that ended an identifier
};

// Takes the next token from the rest of a line.
Token NextToken(TextView rest);

struct LabelName {
    bool found = false;
    bool valid = false;  // only ".", "_", digits and upper-case letters
    Text name;
    TextView rest;
};

// Reads the label name that follows a "*" token.
LabelName ReadLabelName(TextView rest);

}  // namespace rvq::basic
