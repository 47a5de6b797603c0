#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rvq::help {

// One section of a built help page: from one anchor to the next.
struct Section {
    std::string file;    // the page, e.g. download.html
    std::string anchor;  // empty for the text before the page's first anchor
    std::string title;   // the section's first heading
    std::string text;    // the words of the section, without markup
};

// Cuts a help page into its sections.
std::vector<Section> SplitPage(const std::string& file, std::string_view html);

struct Hit {
    const Section* section;
    int count;  // how often the words occur in the section, those in its title weighing more
};

// The sections that hold every word of `query` (letter case ignored for
// ASCII letters): those whose title holds the words first, then by how
// often they occur; page order among equals.
std::vector<Hit> Search(const std::vector<Section>& sections, std::string_view query);

}  // namespace rvq::help
