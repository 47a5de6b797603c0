// The parameter command family of SimPrinter: get replies from the
// parameter store, set commands decoded with the printer's own table, and
// the maintenance commands of the "ZS" block.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "sim/info_blocks.h"
#include "sim/param_commands.h"
#include "sim/reply_builders.h"
#include "sim/sha256.h"
#include "sim/sim_printer.h"

namespace rvq::sim {
namespace {

constexpr const char* kAccepted = "90";
constexpr const char* kAcceptedPartly = "91";
// The answer to a set command whose arguments do not have its shape.
constexpr const char* kBadArguments = "92";

constexpr int kMaintenanceGet = 1800;
constexpr int kCounterClear = 1801;
constexpr int kParameterClear = 1802;
constexpr int kFactoryDefault = 1804;

std::optional<int> SingleDigit(const std::vector<ArgValue>& values) {
    if (values.size() != 1 || values[0].text.size() != 1) return std::nullopt;
    const char c = values[0].text[0];
    if (c < '0' || c > '9') return std::nullopt;
    return c - '0';
}

// The clock command's reply: the date (store field 1, "YY,MM,DD") and the
// time (field 4, "HH,MM,SS") each as three two-digit fields, as a printer
// sends them (the tool joins them again), then the fields after them.
constexpr int kClockGet = 1900;

std::vector<std::string> ClockReplyFields(const std::vector<std::string>& stored) {
    std::vector<std::string> fields;
    for (std::size_t index : {std::size_t{0}, std::size_t{3}}) {
        std::string value = index < stored.size() ? stored[index] : std::string();
        std::size_t start = 0;
        for (int part = 0; part < 3; ++part) {
            const std::size_t comma = value.find(',', start);
            fields.push_back(value.substr(
                start, comma == std::string::npos ? std::string::npos : comma - start));
            start = comma == std::string::npos ? value.size() : comma + 1;
        }
    }
    for (std::size_t index = 6; index < stored.size(); ++index) fields.push_back(stored[index]);
    return fields;
}

bool IsAcceptance(const std::string& answer) {
    return answer == kAccepted || answer == kAcceptedPartly;
}

}  // namespace

namespace {

constexpr const char* kAddressItem = "IPAddress";
constexpr const char* kPortItem = "PortNumber";

}  // namespace

std::optional<std::pair<std::string, int>> SimPrinter::LanParameters() const {
    const PrinterModel* model = store_.model();
    if (model == nullptr) return std::nullopt;
    const ParamItem* address = FindItem(*model, kAddressItem);
    const ParamItem* port = FindItem(*model, kPortItem);
    const std::string* addressField =
        address ? store_.Field(address->getCmdIndex, address->offset) : nullptr;
    const std::string* portField = port ? store_.Field(port->getCmdIndex, port->offset) : nullptr;
    if (addressField == nullptr || portField == nullptr) return std::nullopt;
    return std::make_pair(*addressField, std::atoi(portField->c_str()));
}

void SimPrinter::SetLanParameters(const std::string& address, int port) {
    const PrinterModel* model = store_.model();
    if (model == nullptr) return;
    if (const ParamItem* item = FindItem(*model, kAddressItem)) {
        if (std::string* field = store_.Field(item->getCmdIndex, item->offset)) *field = address;
    }
    if (const ParamItem* item = FindItem(*model, kPortItem)) {
        if (std::string* field = store_.Field(item->getCmdIndex, item->offset))
            *field = std::to_string(port);
    }
}

void SimPrinter::RegisterParameterCommands() {
    // Everything of the "Z" family that the mode commands and the
    // information requests (longer letters) do not take.
    Register("Z",
             [](SimPrinter& p, const ReceivedCommand& c, Response& r) { p.HandleParameter(c, r); });
}

std::vector<std::string> SimPrinter::ReplyFields(int getId) const {
    std::vector<std::string> fields = store_.Fields(getId);
    if (getId == kClockGet) return ClockReplyFields(fields);
    if (getId != kMaintenanceGet) return fields;
    if (fields.size() < static_cast<std::size_t>(kDestinationField))
        fields.resize(kDestinationField, "0");
    for (std::size_t i = 0; i < kCounterFields.size(); ++i) {
        char text[24];
        std::snprintf(text, sizeof text, "%08lld", state_.counters[i]);
        fields[static_cast<std::size_t>(kCounterFields[i]) - 1] = text;
    }
    fields[kDestinationField - 1] = std::to_string(state_.destination);
    return fields;
}

void SimPrinter::HandleParameter(const ReceivedCommand& command, Response& response) {
    // Parameter commands are taken in the setting mode only; in the normal
    // mode the printer does not know them.
    if (mode_ != PrinterMode::Setting && !config_.anyMode) return;
    const std::string& text = command.text;
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string::npos) {
        if (const GetCommand* get = FindGetCommand(text)) {
            response.reply =
                DataFrame(get->text, ReplyFields(get->id),
                          config_.faults.lengthsInCharacters ? FrameLengths::ShiftJisCharacters
                                                             : FrameLengths::Bytes);
            return;
        }
    }
    const std::string key = text.substr(0, semicolon);
    const std::string args =
        semicolon == std::string::npos ? std::string() : text.substr(semicolon + 1);
    const std::vector<const ParamCommand*> forms = FindSetCommands(key);
    if (forms.empty()) return;

    // A key with two forms is read as the form its arguments fit, the one
    // the model uses first.
    const ParamCommand* chosen = nullptr;
    std::optional<std::vector<ArgValue>> values;
    for (const ParamCommand* form : forms) {
        if ((semicolon == std::string::npos) != (form->shape == ArgShape::None)) continue;
        auto decoded = DecodeArguments(form->shape, args);
        if (!decoded || (form->shape == ArgShape::Binary) != command.data.has_value()) continue;
        if (!chosen || (!store_.Uses(chosen->id) && store_.Uses(form->id))) {
            chosen = form;
            values = std::move(decoded);
        }
    }
    if (!chosen) {
        response.reply = DataFrame(key, {kBadArguments});
        return;
    }
    std::string answer = config_.faults.SetAnswerFor(text).value_or(kAccepted);
    if (IsAcceptance(answer)) {
        const std::string applied = ApplySet(*chosen, *values, command);
        if (answer == kAccepted) answer = applied;
    }
    response.reply = DataFrame(key, {answer});
}

// A port number other than the one held takes effect at the next restart,
// as on a printer: the LAN endpoint then listens there (when the printer
// is set up to follow it).
void SimPrinter::NoteNewPort(const SetCommand* definition, const std::vector<ArgValue>& values) {
    if (!config_.followsPortNumber || definition == nullptr ||
        definition->paramNames.size() != values.size())
        return;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (definition->paramNames[i] != kPortItem) continue;
        const std::string* held = nullptr;
        for (const ParamStore::Slot& slot : store_.Slots(definition->commandId)) {
            if (store_.ItemAt(slot.getId, slot.field) == kPortItem)
                held = store_.Field(slot.getId, slot.field);
        }
        const int port = std::atoi(values[i].text.c_str());
        if (held != nullptr && *held != values[i].text && port > 0 && port <= 65535)
            state_.lanPortAfterRestart = port;
    }
}

// Applies an accepted set command; the answer the printer gives to it.
std::string SimPrinter::ApplySet(const ParamCommand& command, const std::vector<ArgValue>& values,
                                 const ReceivedCommand& received) {
    switch (command.id) {
        case kCounterClear: {
            const auto selection = SingleDigit(values);
            const std::vector<int> cleared =
                selection ? CountersCleared(*selection) : std::vector<int>{};
            if (cleared.empty()) return kBadArguments;
            for (std::size_t i = 0; i < kCounterFields.size(); ++i) {
                if (std::find(cleared.begin(), cleared.end(), kCounterFields[i]) != cleared.end())
                    state_.counters[i] = 0;
            }
            return kAccepted;
        }
        case kParameterClear: {
            const auto destination = SingleDigit(values);
            const PrinterModel* model = store_.model();
            if (!destination ||
                (model && static_cast<std::size_t>(*destination) >= model->destinations.size()))
                return kBadArguments;
            state_.destination = *destination;
            store_.ResetToDefaults(*destination);
            return kAccepted;
        }
        case kFactoryDefault:
            store_.ResetToDefaults(state_.destination);
            return kAccepted;
        default:
            break;
    }
    if (received.data) {
        state_.uploads[command.key] = {received.data->size(), Sha256Hex(*received.data)};
        return kAccepted;
    }
    std::string secrets;
    for (const ArgValue& value : values) {
        if (!value.shown) secrets += value.text;
    }
    if (!secrets.empty()) state_.secrets[command.key] = secrets;
    const SetCommand* definition = store_.FindSetCommand(command.id);
    NoteNewPort(definition, values);
    store_.Apply(command, values);

    // A printer without the second drive voltage says so when the ribbon
    // width is set.
    if (config_.lacksDriveVoltage2 && definition && !definition->paramNames.empty() &&
        definition->paramNames.front() == "RibbonWidth")
        return kAcceptedPartly;
    return kAccepted;
}

}  // namespace rvq::sim
