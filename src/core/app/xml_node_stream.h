#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rvq {

// One node of an XML file as the definition reader sees it: an element
// start with its attributes, a text, or an element end. Whitespace,
// comments and processing instructions are not delivered.
struct XmlNode {
    enum class Kind { Start, Text, End };
    Kind kind = Kind::Text;
    std::string name;                                             // element name of Start and End
    std::string text;                                             // Text only
    std::vector<std::pair<std::string, std::string>> attributes;  // Start only, in file order
};

// The value of attribute `name` of a start node, or null.
const std::string* FindAttribute(const XmlNode& node, std::string_view name);

// A forward-only node stream over an XML file or buffer. A self-closing
// element is delivered as a start followed by an end, so readers that wait
// for an end tag never run past it. Whatever follows the document element
// is not read, so it cannot fail a reader that stops at its end. A
// document type declaration, an entity
// reference or malformed XML ends the stream as failed; nothing is ever
// fetched from the network and no entity is expanded.
class XmlNodeStream {
public:
    // Nothing when the file cannot be opened.
    static std::unique_ptr<XmlNodeStream> OpenFile(const std::string& path);
    static std::unique_ptr<XmlNodeStream> OpenMemory(std::string_view xml);

    ~XmlNodeStream();
    XmlNodeStream(const XmlNodeStream&) = delete;
    XmlNodeStream& operator=(const XmlNodeStream&) = delete;

    // The next node; nothing at the end of the input or once it failed.
    std::optional<XmlNode> Next();

    // True when the stream stopped on an error rather than at the end.
    bool failed() const { return failed_; }

private:
    struct Impl;
    explicit XmlNodeStream(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl_;
    std::optional<std::string> pendingEnd_;  // end node owed to a self-closing element
    bool finished_ = false;
    bool failed_ = false;
};

}  // namespace rvq
