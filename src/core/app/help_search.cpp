#include "core/app/help_search.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rvq::help {

namespace {

constexpr std::string_view kAnchor = "<a id=\"";
constexpr int kTitleWeight = 10;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The text of some HTML without its tags, entities decoded and runs of
// white space made one blank.
std::string PlainText(std::string_view html) {
    static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}}};
    std::string out;
    bool inTag = false;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (inTag) {
            inTag = c != '>';
            if (!inTag && !out.empty() && out.back() != ' ') out += ' ';
            continue;
        }
        if (c == '<') {
            inTag = true;
            continue;
        }
        if (c == '&') {
            const auto entity = std::find_if(
                kEntities.begin(), kEntities.end(),
                [&](const auto& e) { return html.substr(i, e.first.size()) == e.first; });
            if (entity != kEntities.end()) {
                out += entity->second;
                i += entity->first.size() - 1;
                continue;
            }
        }
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (space) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string FirstHeading(std::string_view html) {
    for (std::size_t pos = html.find("<h"); pos != std::string_view::npos;
         pos = html.find("<h", pos + 2)) {
        if (pos + 2 < html.size() && html[pos + 2] >= '1' && html[pos + 2] <= '6') {
            const auto close = html.find("</h", pos);
            if (close == std::string_view::npos) break;
            return PlainText(html.substr(pos, close - pos));
        }
    }
    return {};
}

std::vector<std::string> Words(std::string_view query) {
    std::vector<std::string> words;
    std::string word;
    for (char c : query) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(Lower(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(Lower(word));
    return words;
}

int Occurrences(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto pos = text.find(word); pos != std::string::npos;
         pos = text.find(word, pos + word.size()))
        ++n;
    return n;
}

}  // namespace

std::vector<Section> SplitPage(const std::string& file, std::string_view html) {
    // Only the body holds text; the head's title and style are no section.
    if (const auto body = html.find("<body"); body != std::string_view::npos)
        html.remove_prefix(body);
    std::vector<Section> sections;
    std::string anchor;
    std::size_t start = 0;
    auto close = [&](std::size_t end) {
        const std::string_view part = html.substr(start, end - start);
        Section section{file, anchor, FirstHeading(part), PlainText(part)};
        if (!section.text.empty()) sections.push_back(std::move(section));
    };
    for (std::size_t pos = html.find(kAnchor); pos != std::string_view::npos;
         pos = html.find(kAnchor, pos + kAnchor.size())) {
        const std::size_t nameStart = pos + kAnchor.size();
        const std::size_t nameEnd = html.find('"', nameStart);
        if (nameEnd == std::string_view::npos) break;
        close(pos);
        anchor = std::string(html.substr(nameStart, nameEnd - nameStart));
        start = pos;
    }
    close(html.size());
    return sections;
}

std::vector<Hit> Search(const std::vector<Section>& sections, std::string_view query) {
    const std::vector<std::string> words = Words(query);
    std::vector<Hit> hits;
    if (words.empty()) return hits;
    for (const Section& section : sections) {
        const std::string text = Lower(section.text);
        const std::string title = Lower(section.title);
        int total = 0;
        bool all = true;
        for (const std::string& word : words) {
            const int n = Occurrences(text, word);
            all = all && n > 0;
            // A section named by the words is what the reader looks for.
            total += n + kTitleWeight * Occurrences(title, word);
        }
        if (all) hits.push_back({&section, total});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return a.count > b.count; });
    return hits;
}

}  // namespace rvq::help
