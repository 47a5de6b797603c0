#include "sim/sim_printer.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "core/app/printer_definition.h"
#include "core/app/printer_model.h"
#include "sim/download_handlers.h"
#include "sim/info_commands.h"
#include "sim/param_handlers.h"
#include "sim/reply_builders.h"

namespace rvq::sim {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A decimal number made of exactly the characters of `digits`.
std::optional<std::size_t> Digits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::size_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

// Binary uploads of parameter data: "ZW7n;" and six digits of size.
BinaryRule ParameterUpload(std::string prefix) {
    return BinaryRule{std::move(prefix), 11,
                      [](std::string_view header) { return Digits(header.substr(5, 6)); }, true};
}

// Graphics: "SG;0000,00000,wwww,hhhhh,1," then rows of (w + 7) / 8 bytes.
BinaryRule Graphics() {
    return BinaryRule{
        "SG;", 27,
        [](std::string_view header) -> std::optional<std::size_t> {
            if (header[13] != ',' || header[18] != ',' || header.substr(24, 3) != ",1,")
                return std::nullopt;
            const auto width = Digits(header.substr(14, 4));
            const auto height = Digits(header.substr(19, 5));
            if (!width || !height) return std::nullopt;
            return (*width + 7) / 8 * *height;
        },
        true};
}

}  // namespace

bool FaultPlan::IgnoresCommand(std::string_view text) const {
    return std::any_of(neverAnswer.begin(), neverAnswer.end(), [&](const std::string& letters) {
        return !letters.empty() && StartsWith(text, letters);
    });
}

std::optional<std::string> FaultPlan::SetAnswerFor(std::string_view text) const {
    for (const auto& [letters, answer] : setAnswers) {
        if (!letters.empty() && StartsWith(text, letters)) return answer;
    }
    return std::nullopt;
}

SimPrinter::SimPrinter(PrinterConfig config) : config_(std::move(config)) {
    LoadModel();
    state_.firmware = {{"BOOT", config_.bootVersion, 0}, {"MAIN", config_.mainVersion, 0}};
    for (std::size_t i = 0; i < state_.counters.size(); ++i)
        state_.counters[i] = 1200 + 1111 * static_cast<long long>(i);
    RegisterBuiltIns();
    RegisterParameterCommands(*this);
    RegisterInformationCommands(*this);
    RegisterDownloadCommands(*this);
    RegisterMemoryCommands(*this);
}

namespace {

// A fleet of printers of one model shares the model read once.
std::shared_ptr<const PrinterModel> SharedModel(const std::string& path, const std::string& name) {
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::string>, std::weak_ptr<const PrinterModel>> loaded;
    std::lock_guard lock(mutex);
    std::weak_ptr<const PrinterModel>& entry = loaded[{path, name}];
    std::shared_ptr<const PrinterModel> model = entry.lock();
    if (!model) {
        model = LoadPrinterModel(path, name, nullptr);
        entry = model;
    }
    return model;
}

}  // namespace

void SimPrinter::LoadModel() {
    state_.destination = config_.destination;
    if (config_.definitionsPath.empty() || config_.faults.silent) return;
    std::shared_ptr<const PrinterModel> model = SharedModel(config_.definitionsPath, config_.model);
    if (!model) {
        loadError_ = "no model " + config_.model + " in " + config_.definitionsPath;
        return;
    }
    store_ = ParamStore(std::move(model), config_.destination);
}

void SimPrinter::Register(std::string letters, Handler handler) {
    auto same = std::find_if(handlers_.begin(), handlers_.end(),
                             [&](const auto& h) { return h.first == letters; });
    if (same != handlers_.end()) {
        same->second = std::move(handler);
        return;
    }
    handlers_.emplace_back(std::move(letters), std::move(handler));
    std::stable_sort(handlers_.begin(), handlers_.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
}

void SimPrinter::RegisterBuiltIns() {
    Register("WS", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        const int error = p.config_.faults.errorStatus;
        r.reply = StatusFrame(error >= 0 ? error : 0);
    });
    Register("WV", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        r.reply = TypeFrame(p.config_.bankType);
    });
    Register("ZSS", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        p.mode_ = PrinterMode::Setting;
        r.reply = ModeFrame("SETTING");
    });
    Register("ZSR", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        p.mode_ = PrinterMode::Vpcl;
        r.reply = ModeFrame("VPCL");
    });
    Register("ZSE", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        p.mode_ = PrinterMode::Vpcl;
        r.reply = ModeFrame("VPCL");
        r.restart = true;
        r.replyAfterRestartOnUsb = true;
    });
    Register("WR", [](SimPrinter&, const ReceivedCommand&, Response& r) { r.restart = true; });
    // The BASIC mode switches take effect with a restart.
    Register("!Z", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        p.basicMode_ = true;
        r.restart = true;
    });
    Register("!T", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        p.basicMode_ = false;
        r.restart = true;
    });
    Register("HD", [](SimPrinter& p, const ReceivedCommand&, Response& r) {
        r.reply = StatusFrame(p.config_.headCheckStatus);
    });
}

Response SimPrinter::Handle(const ReceivedCommand& command) {
    Response response;
    if (config_.faults.IgnoresCommand(command.text)) return response;
    if (command.kind == ReceivedCommand::Kind::DataStart ||
        command.kind == ReceivedCommand::Kind::DataProgress) {
        HandleDataEvent(*this, command, response);
        return response;
    }
    if (command.kind != ReceivedCommand::Kind::Command) return response;
    for (const auto& [letters, handler] : handlers_) {
        if (StartsWith(command.text, letters)) {
            handler(*this, command, response);
            break;
        }
    }
    return response;
}

CommandDecoder SimPrinter::MakeDecoder() const {
    std::vector<CodeSet> sets;
    if (config_.codes) sets.push_back(*config_.codes);
    for (const CodeSet& set : {kEscCodes, kBraceCodes}) {
        if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
    }
    std::vector<BinaryRule> rules{ParameterUpload("ZW73;"), ParameterUpload("ZW74;"),
                                  ParameterUpload("ZW75;"), ParameterUpload("ZW76;"),
                                  ParameterUpload("ZW78;"), Graphics()};
    // Each link keeps its own view of the load command in progress.
    auto pending = std::make_shared<PendingLoad>();
    for (BinaryRule& rule : DownloadRules(pending)) rules.push_back(std::move(rule));
    return CommandDecoder(std::move(sets), std::move(rules), DownloadObserver(pending));
}

void SimPrinter::Restarted() { mode_ = PrinterMode::Vpcl; }

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

}  // namespace rvq::sim
