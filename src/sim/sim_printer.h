#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/command_decoder.h"
#include "sim/download_commands.h"
#include "sim/info_blocks.h"
#include "sim/param_store.h"

namespace rvq::sim {

// Faults a printer can be told to show, one set per printer.
struct FaultPlan {
    // Commands (by their leading letters, e.g. "WS" or "ZSS") the printer
    // ignores altogether: logged, never answered, no effect.
    std::vector<std::string> neverAnswer;
    int lateMs = 0;                    // every reply goes out this late
    std::size_t splitBytes = 0;        // replies go out in pieces of at most this many bytes
    int splitGapMs = 50;               // pause between the pieces
    std::string garbage;               // sent before every reply
    long long dropAfterBytes = -1;     // the link drops once this many bytes came in on it
    bool dropRestarts = false;         // ... because the printer restarts (away for restartMs)
    long long stallAfterBytes = -1;    // takes no more data once this many bytes came in on a link
    int errorStatus = -1;              // the status request is answered with this code
    int writtenStatus = -1;            // reported instead of 56 once a firmware image is written
    bool lengthsInCharacters = false;  // get replies count a double-byte (932) character as one
    // Set commands (by leading letters) answered with another code than
    // "90": "91" still applies the command, anything else refuses it.
    std::vector<std::pair<std::string, std::string>> setAnswers;
    bool staleVersions = false;  // programmed firmware leaves the reported versions as they were
    // Serial only: how many "next block" statuses an image gets (-1: one
    // per 64 KB block); the printer stays silent after that many.
    int nextBlockLimit = -1;
    // Written over the length field of the information blocks (version,
    // settings, data log) when not empty, e.g. "12a4" or "9999".
    std::string infoLengthField;
    // A host that takes connections and every byte sent, and never answers:
    // not a printer at all (it loads no model).
    bool silent = false;

    bool IgnoresCommand(std::string_view text) const;
    // The answer configured for a set command, if any.
    std::optional<std::string> SetAnswerFor(std::string_view text) const;
};

// What one printer is: its model, its answers and its faults.
struct PrinterConfig {
    std::string model = "R-VQ4T1-T";
    std::string definitionsPath;
    char bankType = 'C';
    int restartMs = 3000;
    std::optional<CodeSet> codes;  // a configured set, tried before ESC LF NUL and { | }
    int headCheckStatus = 0;
    int destination = 0;   // index into the model's destinations
    bool anyMode = false;  // answer parameter commands outside the setting mode too
    std::string bootVersion = "V1.00";
    std::string mainVersion = "V1.00";
    std::size_t dataLogBytes = 8192;
    int programMs = 3000;             // writing a firmware image to flash, before status 56
    int basicProgramMs = 1000;        // writing a BASIC image, before its status
    int basicStatus = 0;              // the status after an accepted BASIC image
    int allocateMs = 20000;           // busy after a memory allocation
    int formatMs = 30000;             // busy after a memory format
    bool lacksDriveVoltage2 = false;  // answer "91" to the set whose first item is RibbonWidth
    // A port number set by a parameter command is listened on after the
    // next restart, as a printer does (LAN printers only).
    bool followsPortNumber = false;
    FaultPlan faults;
};

enum class LinkKind { Lan, Serial, Usb };

// A firmware section as the printer reports it.
struct FirmwarePart {
    std::string section;
    std::string version;
    unsigned sum = 0;  // 16-bit sum of the programmed image
};

struct MemoryAllocation {
    int fontBlocks = 0;
    int externalBlocks = 0;
    std::string basicBlocks;  // two digits, or "AA" to keep the BASIC area
};

// What the printer holds beyond its parameter fields.
struct PrinterState {
    std::vector<FirmwarePart> firmware;  // BOOT and MAIN first
    std::map<char, BasicProgram> basic;  // by slot
    std::optional<MemoryAllocation> allocation;
    std::optional<std::pair<char, int>> format;  // drive letter, format number
    std::array<long long, 11> counters{};        // of the fields kCounterFields
    int destination = 0;
    std::map<std::string, std::string> secrets;  // passwords by set command key
    std::map<std::string, std::pair<std::size_t, std::string>> uploads;  // key: size, SHA-256
    int programmed = 0;                                                  // firmware images written
};

enum class PrinterMode { Vpcl, Setting };

// The download in progress.
struct DownloadProgress {
    PendingLoad lastLoad;    // the load command the next program command belongs to
    int nextBlocksSent = 0;  // "next block" statuses of the image coming in
};

// The printer's answer to one command.
struct Response {
    std::string reply;
    int delayMs = 0;       // the reply goes out this much later (protocol ms)
    int busyMs = 0;        // the printer then ignores everything for this long
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

    // Why the definition file could not give the model; empty when it did
    // (or none was named).
    const std::string& loadError() const { return loadError_; }

    // The answer to a complete command; nothing for commands the printer
    // does not answer (or is told to ignore).
    Response Handle(const ReceivedCommand& command);

    // Adds or replaces the handler of the commands starting with `letters`.
    void Register(std::string letters, Handler handler);

    // A decoder for one link of this printer.
    CommandDecoder MakeDecoder() const;

    // The printer came back from a restart.
    void Restarted();

    void SetLink(LinkKind link) { link_ = link; }
    LinkKind link() const { return link_; }

    PrinterConfig& config() { return config_; }
    const PrinterConfig& config() const { return config_; }
    PrinterMode mode() const { return mode_; }
    bool basicMode() const { return basicMode_; }
    ParamStore& store() { return store_; }
    const ParamStore& store() const { return store_; }
    PrinterState& state() { return state_; }
    const PrinterState& state() const { return state_; }
    DownloadProgress& downloads() { return downloads_; }

    // The LAN address and port of the printer's parameters (the items
    // IPAddress and PortNumber), as a set left them; nothing when the
    // model has neither.
    std::optional<std::pair<std::string, int>> LanParameters() const;
    // Makes the parameters report where the printer really listens.
    void SetLanParameters(const std::string& address, int port);

private:
    void RegisterBuiltIns();
    void LoadModel();

    PrinterConfig config_;
    std::string loadError_;
    PrinterMode mode_ = PrinterMode::Vpcl;
    bool basicMode_ = false;
    LinkKind link_ = LinkKind::Lan;
    ParamStore store_;
    PrinterState state_;
    DownloadProgress downloads_;
    std::vector<std::pair<std::string, Handler>> handlers_;  // longest letters first
};

}  // namespace rvq::sim
