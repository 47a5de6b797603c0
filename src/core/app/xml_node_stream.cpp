#include "core/app/xml_node_stream.h"

#include <libxml/parser.h>
#include <libxml/xmlreader.h>

#include <climits>
#include <tuple>

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

// The length of `xml` up to the end tag of its document element, or all of
// it when that end is not found (the reader then fails where the parser
// does). Nothing after the document element belongs to a definition, but
// the reader would read past the element's end before delivering it, and
// junk there would fail a file whose content is complete.
std::size_t DocumentElementLength(const std::string& xml) {
    struct Scan {
        xmlParserCtxtPtr parser = nullptr;
        int depth = 0;
        std::size_t end = 0;
    };
    xmlSAXHandler sax{};
    sax.startElement = [](void* user, const xmlChar*, const xmlChar**) {
        ++static_cast<Scan*>(user)->depth;
    };
    sax.endElement = [](void* user, const xmlChar*) {
        Scan& scan = *static_cast<Scan*>(user);
        if (--scan.depth != 0) return;
        scan.end = static_cast<std::size_t>(xmlByteConsumed(scan.parser));
        xmlStopParser(scan.parser);
    };
    // A document type declaration is the reader's to refuse.
    sax.internalSubset = [](void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
        xmlStopParser(static_cast<Scan*>(user)->parser);
    };
    Scan scan;
    scan.parser = xmlCreatePushParserCtxt(&sax, &scan, nullptr, 0, nullptr);
    if (scan.parser == nullptr) return xml.size();
    xmlCtxtUseOptions(scan.parser, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    std::ignore = xmlParseChunk(scan.parser, xml.data(), static_cast<int>(xml.size()), 1);
    xmlFreeParserCtxt(scan.parser);
    // Only a cut right after a '>' is taken (a file in another encoding
    // counts its bytes otherwise).
    const bool found = scan.end > 0 && scan.end <= xml.size() && xml[scan.end - 1] == '>';
    return found ? scan.end : xml.size();
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
    impl->reader = xmlReaderForMemory(impl->buffer.data(),
                                      static_cast<int>(DocumentElementLength(impl->buffer)),
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
