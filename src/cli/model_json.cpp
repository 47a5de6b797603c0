#include <ostream>

#include "cli/json_writer.h"
#include "cli/model_describe.h"
#include "cli/model_json.h"

namespace rvq::cli {

namespace {

void Ints(JsonWriter& json, const char* key, const std::vector<int>& values) {
    json.Key(key).BeginArray();
    for (int v : values) json.Int(v);
    json.EndArray();
}

void Texts(JsonWriter& json, const char* key, const std::vector<std::string>& values) {
    json.Key(key).BeginArray();
    for (const auto& v : values) json.String(v);
    json.EndArray();
}

void WriteChangeItems(JsonWriter& json, const PrinterModel& m) {
    json.Key("changeItems").BeginArray();
    for (std::size_t i = 0; i < m.changeItemNames.size(); ++i) {
        json.BeginObject();
        json.Key("name").String(m.changeItemNames[i]);
        json.Key("values").BeginObject();
        if (i < m.changeItemValues.size()) {
            const auto& values = m.changeItemValues[i];
            for (std::size_t d = 0; d < values.size() && d < m.destinations.size(); ++d) {
                json.Key(m.destinations[d]).String(values[d]);
            }
        }
        json.EndObject();
        json.EndObject();
    }
    json.EndArray();
}

void WriteGroup(JsonWriter& json, const ParamGroup& g) {
    json.BeginObject();
    json.Key("name").String(g.name);
    json.Key("pageIndex").Int(g.pageIndex);
    json.Key("checkBoxId").Int(g.checkBoxId);
    Ints(json, "getCommands", g.getCommands);
    json.Key("setCommands").BeginArray();
    for (const SetCommand& c : g.setCommands) {
        json.BeginObject();
        json.Key("commandId").Int(c.commandId);
        json.Key("params").BeginArray();
        for (std::size_t i = 0; i < c.paramNames.size(); ++i) {
            json.BeginObject();
            json.Key("name").String(c.paramNames[i]);
            json.Key("type").Int(i < c.paramTypes.size() ? c.paramTypes[i] : 0);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    Ints(json, "ctrlIds", g.ctrlIds);
    json.EndObject();
}

void WriteItem(JsonWriter& json, const ParamItem& i) {
    json.BeginObject();
    json.Key("name").String(i.name);
    json.Key("kind").Int(i.kind);
    json.Key("kindName").String(ItemKindName(i.kind));
    json.Key("ctrlId").Int(i.ctrlId);
    json.Key("getCmdIndex").Int(i.getCmdIndex);
    json.Key("offset").Int(i.offset);
    json.Key("minValue").Int(i.minValue);
    json.Key("maxValue").Int(i.maxValue);
    json.Key("minLength").Int(i.minLength);
    json.Key("maxLength").Int(i.maxLength);
    json.Key("textDefault").String(i.textDefault);
    json.Key("numDefault").Int(i.numDefault);
    Texts(json, "labels", i.labels);
    Texts(json, "commandCodes", i.commandCodes);
    json.Key("encode").Bool(i.encode);
    json.Key("spinId").Int(i.spinId);
    json.Key("pageIndex").Int(i.pageIndex);
    json.Key("messageId").Int(i.messageId);
    json.Key("flag").Int(i.flag);
    Texts(json, "flags", ItemFlagNames(i.flag));
    json.EndObject();
}

}  // namespace

void WriteModelJson(JsonWriter& json, const PrinterModel& m) {
    json.BeginObject();
    json.Key("name").String(m.name);
    json.Key("maxWidth").Int(m.maxWidth);
    json.Key("maxLength").Int(m.maxLength);
    json.Key("resolution").Int(m.resolution);
    json.Key("gaijiWidth").Int(m.gaijiWidth);
    json.Key("memory").BeginObject();
    json.Key("blockSize").Int(m.blockSize);
    json.Key("maxBlock").Int(m.maxBlock);
    json.Key("mainStartBlock").Int(m.mainStartBlock);
    json.Key("systemStartBlock").Int(m.systemStartBlock);
    json.Key("dataStartBlock").Int(m.dataStartBlock);
    json.EndObject();
    Texts(json, "destinations", m.destinations);
    Ints(json, "getCommandIndexes", m.getCommandIndexes);
    WriteChangeItems(json, m);
    json.Key("groups").BeginArray();
    for (const ParamGroup& g : m.groups) WriteGroup(json, g);
    json.EndArray();
    json.Key("items").BeginArray();
    for (const ParamItem& i : m.items) WriteItem(json, i);
    json.EndArray();
    json.EndObject();
}

}  // namespace rvq::cli
