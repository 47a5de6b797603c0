// The parameter command family a printer answers: get replies from the
// parameter store, set commands decoded with the printer's own table, and
// the maintenance commands of the "ZS" block.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "sim/info_blocks.h"
#include "sim/param_commands.h"
#include "sim/param_handlers.h"
#include "sim/reply_builders.h"
#include "sim/sha256.h"

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

std::vector<std::string> ReplyFields(const SimPrinter& printer, int getId) {
    std::vector<std::string> fields = printer.store().Fields(getId);
    if (getId == kClockGet) return ClockReplyFields(fields);
    if (getId != kMaintenanceGet) return fields;
    if (fields.size() < static_cast<std::size_t>(kDestinationField))
        fields.resize(kDestinationField, "0");
    for (std::size_t i = 0; i < kCounterFields.size(); ++i) {
        char text[24];
        std::snprintf(text, sizeof text, "%08lld", printer.state().counters[i]);
        fields[static_cast<std::size_t>(kCounterFields[i]) - 1] = text;
    }
    fields[kDestinationField - 1] = std::to_string(printer.state().destination);
    return fields;
}

// Applies an accepted set command; the answer the printer gives to it.
std::string ApplySet(SimPrinter& printer, const ParamCommand& command,
                     const std::vector<ArgValue>& values, const ReceivedCommand& received) {
    const PrinterConfig& config = printer.config();
    ParamStore& store = printer.store();
    PrinterState& state = printer.state();
    switch (command.id) {
        case kCounterClear: {
            const auto selection = SingleDigit(values);
            const std::vector<int> cleared =
                selection ? CountersCleared(*selection) : std::vector<int>{};
            if (cleared.empty()) return kBadArguments;
            for (std::size_t i = 0; i < kCounterFields.size(); ++i) {
                if (std::find(cleared.begin(), cleared.end(), kCounterFields[i]) != cleared.end())
                    state.counters[i] = 0;
            }
            return kAccepted;
        }
        case kParameterClear: {
            const auto destination = SingleDigit(values);
            const PrinterModel* model = store.model();
            if (!destination ||
                (model && static_cast<std::size_t>(*destination) >= model->destinations.size()))
                return kBadArguments;
            state.destination = *destination;
            store.ResetToDefaults(*destination);
            return kAccepted;
        }
        case kFactoryDefault:
            store.ResetToDefaults(state.destination);
            return kAccepted;
        default:
            break;
    }
    if (received.data) {
        state.uploads[command.key] = {received.data->size(), Sha256Hex(*received.data)};
        return kAccepted;
    }
    std::string secrets;
    for (const ArgValue& value : values) {
        if (!value.shown) secrets += value.text;
    }
    if (!secrets.empty()) state.secrets[command.key] = secrets;
    const SetCommand* definition = store.FindSetCommand(command.id);
    store.Apply(command, values);

    // A printer without the second drive voltage says so when the ribbon
    // width is set.
    if (config.lacksDriveVoltage2 && definition && !definition->paramNames.empty() &&
        definition->paramNames.front() == "RibbonWidth")
        return kAcceptedPartly;
    return kAccepted;
}

void HandleParameter(SimPrinter& printer, const ReceivedCommand& command, Response& response) {
    const PrinterConfig& config = printer.config();
    const ParamStore& store = printer.store();
    // Parameter commands are taken in the setting mode only; in the normal
    // mode the printer does not know them.
    if (printer.mode() != PrinterMode::Setting && !config.anyMode) return;
    const std::string& text = command.text;
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string::npos) {
        if (const GetCommand* get = FindGetCommand(text)) {
            response.reply =
                DataFrame(get->text, ReplyFields(printer, get->id),
                          config.faults.lengthsInCharacters ? FrameLengths::ShiftJisCharacters
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
        if (!chosen || (!store.Uses(chosen->id) && store.Uses(form->id))) {
            chosen = form;
            values = std::move(decoded);
        }
    }
    if (!chosen) {
        response.reply = DataFrame(key, {kBadArguments});
        return;
    }
    std::string answer = config.faults.SetAnswerFor(text).value_or(kAccepted);
    if (IsAcceptance(answer)) {
        const std::string applied = ApplySet(printer, *chosen, *values, command);
        if (answer == kAccepted) answer = applied;
    }
    response.reply = DataFrame(key, {answer});
}

}  // namespace

void RegisterParameterCommands(SimPrinter& printer) {
    // Everything of the "Z" family that the mode commands and the
    // information requests (longer letters) do not take.
    printer.Register("Z", HandleParameter);
}

}  // namespace rvq::sim
