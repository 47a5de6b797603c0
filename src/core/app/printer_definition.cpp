#include "core/app/printer_definition.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "core/app/text.h"
#include "core/app/xml_node_stream.h"

namespace rvq {

namespace {

constexpr std::string_view kRootName = "R-VQSettingTool";
constexpr std::string_view kHeaderTitle = "R-VQ Setting Tool Parameter";

int IntAttribute(const XmlNode& node, std::string_view name, int fallback) {
    const std::string* value = FindAttribute(node, name);
    return value == nullptr ? fallback : ParseLeadingInt(*value);
}

void SetIntAttribute(const XmlNode& node, std::string_view name, int* field) {
    *field = IntAttribute(node, name, *field);
}

// Replaces the content of the record with the same name in place, or
// appends the record.
template <typename Record>
void MergeByName(std::vector<Record>& records, Record record) {
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const Record& r) { return r.name == record.name; });
    if (it == records.end()) {
        records.push_back(std::move(record));
    } else {
        *it = std::move(record);
    }
}

void ApplyItemAttributes(const XmlNode& node, ParamItem& item) {
    if (const std::string* name = FindAttribute(node, "name")) item.name = *name;
    if (const std::string* type = FindAttribute(node, "type")) item.kind = ItemKindFromType(*type);
    if (const std::string* encode = FindAttribute(node, "Encode")) item.encode = *encode == "ON";
    SetIntAttribute(node, "CtrlID", &item.ctrlId);
    SetIntAttribute(node, "offset", &item.offset);
    SetIntAttribute(node, "MinValue", &item.minValue);
    SetIntAttribute(node, "MaxValue", &item.maxValue);
    SetIntAttribute(node, "MinLength", &item.minLength);
    SetIntAttribute(node, "MaxLength", &item.maxLength);
    SetIntAttribute(node, "SpinID", &item.spinId);
    SetIntAttribute(node, "PageIndex", &item.pageIndex);
    SetIntAttribute(node, "MessageID", &item.messageId);
    SetIntAttribute(node, "flag", &item.flag);
}

// Reads one definition file node by node. Every reader consumes nodes until
// the end tag it waits for; elements it has no rule for are passed over, but
// elements nested in them that it looks for are still read. A reader that
// returns false fails the whole load.
class DefinitionReader {
public:
    DefinitionReader(XmlNodeStream& stream, const std::string& wantedName,
                     std::vector<std::string>* names)
        : stream_(stream), wantedName_(wantedName), names_(names) {}

    std::unique_ptr<PrinterModel> Run() {
        if (!FindRoot()) return nullptr;
        const bool ok = ReadUntilEnd(kRootName, [&](const XmlNode& node) {
            if (node.name == "Header") return ReadHeader();
            if (node.name == "Printer") return ReadPrinter(node);
            return true;
        });
        if (!ok) return nullptr;
        if (selected_) return std::move(selected_);
        return baseSelected_ ? std::move(base_) : nullptr;
    }

private:
    using StartHandler = std::function<bool(const XmlNode&)>;

    bool FindRoot() {
        while (auto node = stream_.Next()) {
            if (node->kind == XmlNode::Kind::Start && node->name == kRootName) return true;
        }
        return false;
    }

    // Hands element starts to `onStart` and collects the text nodes into
    // `text` until the end tag `name`. False when the input ends first.
    bool ReadUntilEnd(std::string_view name, const StartHandler& onStart,
                      std::string* text = nullptr) {
        while (auto node = stream_.Next()) {
            switch (node->kind) {
                case XmlNode::Kind::End:
                    if (node->name == name) return true;
                    break;
                case XmlNode::Kind::Text:
                    if (text != nullptr) *text += node->text;
                    break;
                case XmlNode::Kind::Start:
                    if (!onStart(*node)) return false;
                    break;
            }
        }
        return false;
    }

    bool ReadText(std::string_view name, std::string* text) {
        return ReadUntilEnd(
            name, [](const XmlNode&) { return true; }, text);
    }

    bool ReadHeader() {
        bool titleOk = false;
        bool versionOk = false;
        const bool ok = ReadUntilEnd("Header", [&](const XmlNode& node) {
            std::string text;
            if (node.name == "Title") {
                if (!ReadText("Title", &text)) return false;
                titleOk = titleOk || text == kHeaderTitle;
            } else if (node.name == "Version") {
                if (!ReadText("Version", &text)) return false;
                versionOk = versionOk || !text.empty();
            }
            return true;
        });
        return ok && titleOk && versionOk;
    }

    bool ReadPrinter(const XmlNode& start) {
        if (start.attributes.empty()) return false;
        auto model =
            base_ ? std::make_unique<PrinterModel>(*base_) : std::make_unique<PrinterModel>();
        if (const std::string* name = FindAttribute(start, "name")) model->name = *name;
        SetIntAttribute(start, "MaxWidth", &model->maxWidth);
        SetIntAttribute(start, "MaxLength", &model->maxLength);
        SetIntAttribute(start, "Resolution", &model->resolution);
        SetIntAttribute(start, "GaijiWidth", &model->gaijiWidth);

        PrinterModel& m = *model;
        const bool ok =
            ReadUntilEnd("Printer", [&](const XmlNode& node) { return ReadPrinterChild(node, m); });
        if (!ok) return false;

        if (names_ != nullptr) names_->push_back(model->name);
        const bool wanted = model->name == wantedName_;
        if (!base_) {
            base_ = std::move(model);
            baseSelected_ = wanted;
        } else if (wanted) {
            selected_ = std::move(model);
        }
        return true;
    }

    bool ReadPrinterChild(const XmlNode& node, PrinterModel& model) {
        if (node.name == "Allocate") {
            if (node.attributes.empty()) return false;
            SetIntAttribute(node, "BlockSize", &model.blockSize);
            SetIntAttribute(node, "MaxBlock", &model.maxBlock);
            return ReadText("Allocate", nullptr);
        }
        if (node.name == "BASIC") {
            if (node.attributes.empty()) return false;
            SetIntAttribute(node, "MainStartBlock", &model.mainStartBlock);
            SetIntAttribute(node, "SystemStartBlock", &model.systemStartBlock);
            SetIntAttribute(node, "DataStartBlock", &model.dataStartBlock);
            return ReadText("BASIC", nullptr);
        }
        if (node.name == "DestinationList") return ReadDestinationList(model);
        if (node.name == "GetCommandList") {
            model.getCommandIndexes.clear();
            return ReadIntList("GetCommandList", "Index", model.getCommandIndexes);
        }
        if (node.name == "GroupList") {
            return ReadUntilEnd("GroupList", [&](const XmlNode& child) {
                return child.name == "Group" ? ReadGroup(child, model) : true;
            });
        }
        if (node.name == "ItemList") return ReadItemList(node, model);
        return true;
    }

    // Appends the number in each `element` until the end tag `listName`.
    bool ReadIntList(std::string_view listName, std::string_view element,
                     std::vector<int>& values) {
        return ReadUntilEnd(listName, [&](const XmlNode& node) {
            if (node.name != element) return true;
            std::string text;
            if (!ReadText(element, &text)) return false;
            values.push_back(ParseLeadingInt(text));
            return true;
        });
    }

    bool ReadDestinationList(PrinterModel& model) {
        model.destinations.clear();
        return ReadUntilEnd("DestinationList", [&](const XmlNode& node) {
            if (node.name == "Item") {
                std::string code;
                if (!ReadText("Item", &code)) return false;
                model.destinations.push_back(std::move(code));
                return true;
            }
            if (node.name == "ChangeItem") return ReadChangeItem(node, model);
            return true;
        });
    }

    // Attributes named after a destination code give that destination's
    // value; the others are no destination (yet) and are dropped.
    bool ReadChangeItem(const XmlNode& start, PrinterModel& model) {
        if (start.attributes.empty()) return false;
        std::vector<std::string> values(model.destinations.size());
        for (const auto& [code, value] : start.attributes) {
            for (std::size_t i = 0; i < model.destinations.size(); ++i) {
                if (model.destinations[i] == code) values[i] = value;
            }
        }
        std::string itemName;
        if (!ReadText("ChangeItem", &itemName)) return false;
        model.changeItemNames.push_back(std::move(itemName));
        model.changeItemValues.push_back(std::move(values));
        return true;
    }

    bool ReadGroup(const XmlNode& start, PrinterModel& model) {
        if (start.attributes.empty()) return false;
        ParamGroup group;
        if (const std::string* name = FindAttribute(start, "name")) group.name = *name;
        SetIntAttribute(start, "PageIndex", &group.pageIndex);
        SetIntAttribute(start, "CheckBoxID", &group.checkBoxId);
        const bool ok = ReadUntilEnd("Group", [&](const XmlNode& node) {
            if (node.name == "GetCommand") {
                std::string text;
                if (!ReadText("GetCommand", &text)) return false;
                group.getCommands.push_back(ParseLeadingInt(text));
            } else if (node.name == "CtrlList") {
                group.ctrlIds.clear();
                return ReadIntList("CtrlList", "CtrlID", group.ctrlIds);
            } else if (node.name == "SetCommandList") {
                return ReadUntilEnd("SetCommandList", [&](const XmlNode& child) {
                    return child.name == "Command" ? ReadCommand(group) : true;
                });
            }
            return true;
        });
        if (!ok) return false;
        MergeByName(model.groups, std::move(group));
        return true;
    }

    // The command id is the Command's own text, not that of its Params.
    bool ReadCommand(ParamGroup& group) {
        SetCommand command;
        std::string idText;
        const bool ok = ReadUntilEnd(
            "Command",
            [&](const XmlNode& node) {
                if (node.name != "Param") return true;
                if (node.attributes.empty()) return false;
                command.paramTypes.push_back(IntAttribute(node, "type", 0));
                std::string param;
                if (!ReadText("Param", &param)) return false;
                command.paramNames.push_back(std::move(param));
                return true;
            },
            &idText);
        if (!ok) return false;
        command.commandId = ParseLeadingInt(idText);
        group.setCommands.push_back(std::move(command));
        return true;
    }

    // An ItemList must say which get command reads its items; without it
    // the items could never be matched to a reply, so the file is refused.
    bool ReadItemList(const XmlNode& start, PrinterModel& model) {
        const std::string* index = FindAttribute(start, "GetCmdIndex");
        if (index == nullptr) return false;
        const int getCmdIndex = ParseLeadingInt(*index);
        return ReadUntilEnd("ItemList", [&](const XmlNode& node) {
            return node.name == "Item" ? ReadItem(node, getCmdIndex, model) : true;
        });
    }

    bool ReadItem(const XmlNode& start, int getCmdIndex, PrinterModel& model) {
        if (start.attributes.empty()) return false;
        ParamItem item;
        item.getCmdIndex = getCmdIndex;
        ApplyItemAttributes(start, item);
        std::string text;
        const bool ok = ReadUntilEnd(
            "Item",
            [&](const XmlNode& node) { return node.name == "List" ? ReadList(node, item) : true; },
            &text);
        if (!ok) return false;
        item.textValue = text;
        item.textDefault = text;
        if (IsNumericKind(item.kind)) {
            item.numValue = ParseLeadingInt(text);
            item.numDefault = item.numValue;
        }
        MergeByName(model.items, std::move(item));
        return true;
    }

    // Every List adds one label, empty when it has no text, so the English
    // and Japanese labels stay parallel; an entry without JPN shows the
    // English text.
    bool ReadList(const XmlNode& start, ParamItem& item) {
        if (start.attributes.empty()) return false;
        if (const std::string* code = FindAttribute(start, "CommandCode"))
            item.commandCodes.push_back(*code);
        if (const std::string* jpn = FindAttribute(start, "JPN")) item.labelsJpn.push_back(*jpn);
        std::string label;
        if (!ReadText("List", &label)) return false;
        item.labels.push_back(label);
        if (item.labelsJpn.size() < item.labels.size()) item.labelsJpn.push_back(std::move(label));
        return true;
    }

    XmlNodeStream& stream_;
    const std::string& wantedName_;
    std::vector<std::string>* names_;
    std::unique_ptr<PrinterModel> base_;      // the first Printer, which the others start from
    bool baseSelected_ = false;               // the first Printer carries the wanted name
    std::unique_ptr<PrinterModel> selected_;  // the last later Printer with the wanted name
};

std::unique_ptr<PrinterModel> Load(std::unique_ptr<XmlNodeStream> stream,
                                   const std::string& wantedName, std::vector<std::string>* names) {
    if (!stream) return nullptr;
    return DefinitionReader(*stream, wantedName, names).Run();
}

// Length in bytes of the UTF-8 character that starts with `lead`.
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::unique_ptr<PrinterModel> LoadPrinterModel(const std::string& path,
                                               const std::string& wantedName,
                                               std::vector<std::string>* names) {
    return Load(XmlNodeStream::OpenFile(path), wantedName, names);
}

std::unique_ptr<PrinterModel> LoadPrinterModelFromMemory(std::string_view xml,
                                                         const std::string& wantedName,
                                                         std::vector<std::string>* names) {
    return Load(XmlNodeStream::OpenMemory(xml), wantedName, names);
}

int ItemKindFromType(std::string_view type) {
    static constexpr std::pair<std::string_view, int> kPlain[] = {
        {"ComboBox", 5}, {"IPAddress", 6}, {"Date", 7}, {"Time", 8}};
    // "EditBox", any one separator character, then the edit kind.
    static constexpr std::pair<std::string_view, int> kEdit[] = {
        {"FILE", 9},        {"ReadOnly", 10},         {"ASCII", 4},
        {"AlphNumeric", 3}, {"Numeric", 1},           {"HEXBYTE", 0x1A00},
        {"HEX", 0x201},     {"HEXPassword", 0x601},   {"NumPoint1", 0x11},
        {"SignNum", 0x101}, {"SignNumPoint1", 0x111}, {"ALPHNUMSP", 11}};
    for (const auto& [name, kind] : kPlain) {
        if (type == name) return kind;
    }
    constexpr std::string_view kEditBox = "EditBox";
    if (StartsWith(type, kEditBox) && type.size() > kEditBox.size()) {
        const std::size_t separator = Utf8Length(static_cast<unsigned char>(type[kEditBox.size()]));
        const std::string_view suffix =
            type.substr(std::min(type.size(), kEditBox.size() + separator));
        for (const auto& [name, kind] : kEdit) {
            if (suffix == name) return kind;
        }
    }
    return 10;
}

}  // namespace rvq
