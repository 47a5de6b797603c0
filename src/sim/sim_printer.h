#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/command_decoder.h"

namespace rvq::sim {

// Faults a printer can be told to show, one set per printer.
struct FaultPlan {
    // Commands (by their leading letters, e.g. "WS" or "ZSS") the printer
    // ignores altogether: logged, never answered, no effect.
    std::vector<std::string> neverAnswer;
    int lateMs = 0;               // every reply goes out this late
    std::size_t splitBytes = 0;   // replies go out in pieces of at most this many bytes
    int splitGapMs = 50;          // pause between the pieces
    std::string garbage;          // sent before every reply
    long long dropAfterBytes = -1;  // the link drops once this many bytes came in on it
    int errorStatus = -1;         // the status request is answered with this code

    bool IgnoresCommand(std::string_view text) const;
};

// What one printer is: its model, its answers and its faults.
struct PrinterConfig {
    std::string model = "R-VQ4T1-T";
    std::string definitionsPath;
    char bankType = 'C';
    int restartMs = 3000;
    std::optional<CodeSet> codes;  // a configured set, tried before ESC LF NUL and { | }
    int headCheckStatus = 0;
    FaultPlan faults;
};

enum class PrinterMode { Vpcl, Setting };

// The printer's answer to one command.
struct Response {
    std::string reply;
    bool restart = false;  // the printer restarts once the reply is out
    // A USB printer's reply is read by the tool only after it reopened the
    // device, so the reply is given when the printer is back.
    bool replyAfterRestartOnUsb = false;
};

// The printer's command language, independent of the link it arrives on.
// Commands are dispatched on their leading letters, longest match first.
class SimPrinter {
public:
    using Handler = std::function<void(SimPrinter&, const ReceivedCommand&, Response&)>;

    explicit SimPrinter(PrinterConfig config);

    // The answer to a complete command; nothing for commands the printer
    // does not answer (or is told to ignore).
    Response Handle(const ReceivedCommand& command);

    // Adds or replaces the handler of the commands starting with `letters`.
    void Register(std::string letters, Handler handler);

    // A decoder for one link of this printer.
    CommandDecoder MakeDecoder() const;

    // The printer came back from a restart.
    void Restarted();

    PrinterConfig& config() { return config_; }
    const PrinterConfig& config() const { return config_; }
    PrinterMode mode() const { return mode_; }
    bool basicMode() const { return basicMode_; }

private:
    void RegisterBuiltIns();

    PrinterConfig config_;
    PrinterMode mode_ = PrinterMode::Vpcl;
    bool basicMode_ = false;
    std::vector<std::pair<std::string, Handler>> handlers_;  // longest letters first
};

}  // namespace rvq::sim
