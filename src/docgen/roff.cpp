#include "docgen/roff.h"

#include <sstream>

namespace rvq::docgen {

std::string RoffText(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

std::string RoffVerbatim(const std::string& text) {
    return ".nf\n" + RoffText(text) + (text.ends_with('\n') ? "" : "\n") + ".fi\n";
}

std::string RoffParagraphs(const std::string& text) {
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        // Blank lines are not allowed in a page; a paragraph break is.
        out += line.empty() ? ".PP\n" : RoffText(line) + "\n";
    }
    return out;
}

}  // namespace rvq::docgen
