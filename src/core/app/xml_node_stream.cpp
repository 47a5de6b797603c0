#include "core/app/xml_node_stream.h"

#include <libxml/xmlreader.h>

#include <climits>

#include "core/platform/file_io.h"

namespace rvq {

struct XmlNodeStream::Impl {
    std::string buffer;  // libxml2 reads from it for the reader's lifetime
    xmlTextReaderPtr reader = nullptr;

    ~Impl() {
        if (reader != nullptr) xmlFreeTextReader(reader);
    }
};

namespace {

std::string ToString(const xmlChar* text) {
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// Reads the attributes of the element the reader stands on and moves back
// to the element.
std::vector<std::pair<std::string, std::string>> ReadAttributes(xmlTextReaderPtr reader) {
    std::vector<std::pair<std::string, std::string>> attributes;
    if (xmlTextReaderHasAttributes(reader) != 1) return attributes;
    while (xmlTextReaderMoveToNextAttribute(reader) == 1) {
        attributes.emplace_back(ToString(xmlTextReaderConstName(reader)),
                                ToString(xmlTextReaderConstValue(reader)));
    }
    xmlTextReaderMoveToElement(reader);
    return attributes;
}

}  // namespace

const std::string* FindAttribute(const XmlNode& node, std::string_view name) {
    for (const auto& [key, value] : node.attributes) {
        if (key == name) return &value;
    }
    return nullptr;
}

XmlNodeStream::XmlNodeStream(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

XmlNodeStream::~XmlNodeStream() = default;

std::unique_ptr<XmlNodeStream> XmlNodeStream::OpenFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return nullptr;
    return OpenMemory(*bytes);
}

std::unique_ptr<XmlNodeStream> XmlNodeStream::OpenMemory(std::string_view xml) {
    if (xml.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->buffer.assign(xml);
    // No DTD loading, no entity substitution, no network; errors are
    // reported through the result, not printed.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    impl->reader = xmlReaderForMemory(impl->buffer.data(), static_cast<int>(impl->buffer.size()),
                                      nullptr, nullptr, options);
    if (impl->reader == nullptr) return nullptr;
    return std::unique_ptr<XmlNodeStream>(new XmlNodeStream(std::move(impl)));
}

std::optional<XmlNode> XmlNodeStream::Next() {
    if (pendingEnd_) {
        XmlNode end{XmlNode::Kind::End, std::move(*pendingEnd_), {}, {}};
        pendingEnd_.reset();
        return end;
    }
    while (!finished_) {
        const int rc = xmlTextReaderRead(impl_->reader);
        if (rc != 1) {
            finished_ = true;
            failed_ = rc < 0;
            break;
        }
        xmlTextReaderPtr reader = impl_->reader;
        switch (xmlTextReaderNodeType(reader)) {
            case XML_READER_TYPE_ELEMENT: {
                XmlNode start{
                    XmlNode::Kind::Start, ToString(xmlTextReaderConstName(reader)), {}, {}};
                if (xmlTextReaderIsEmptyElement(reader) == 1) pendingEnd_ = start.name;
                start.attributes = ReadAttributes(reader);
                return start;
            }
            case XML_READER_TYPE_END_ELEMENT:
                return XmlNode{
                    XmlNode::Kind::End, ToString(xmlTextReaderConstName(reader)), {}, {}};
            case XML_READER_TYPE_TEXT:
            case XML_READER_TYPE_CDATA:
                return XmlNode{
                    XmlNode::Kind::Text, {}, ToString(xmlTextReaderConstValue(reader)), {}};
            case XML_READER_TYPE_DOCUMENT_TYPE:
            case XML_READER_TYPE_ENTITY_REFERENCE:
            case XML_READER_TYPE_ENTITY:
            case XML_READER_TYPE_NOTATION:
                // Definition files carry no DTD and no entities of their own.
                finished_ = true;
                failed_ = true;
                break;
            default:
                break;  // whitespace, comments, processing instructions
        }
    }
    return std::nullopt;
}

}  // namespace rvq
