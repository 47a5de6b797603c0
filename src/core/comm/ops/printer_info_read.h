#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rvq {

class PrinterJob;

// The information blocks a printer sends in setting mode. Each is one frame:
// SOH STX, a fixed header, a decimal length N, N characters, ETX EOT CR LF.
struct InfoBlockLayout {
    std::size_t headerLength;  // characters before the length field
    std::size_t lengthDigits;  // width of the length field
    std::size_t capacity;      // the largest frame the tool takes
};
inline constexpr InfoBlockLayout kVersionBlock{17, 4, 1200};
inline constexpr InfoBlockLayout kSettingsBlock{17, 4, 8000};
inline constexpr InfoBlockLayout kDataLogBlock{25, 8, 33554688};

// Bytes of a frame around the header, length and data: SOH STX before,
// ETX EOT CR LF after.
inline constexpr std::size_t kInfoFrameOverhead = 6;

// A length field of decimal digits only; nothing for anything else (a
// blank, a sign, a short field).
std::optional<std::size_t> ParseLengthField(std::string_view field);

// The length a frame announces (its bytes from SOH on), checked against the
// layout: digits only and the whole frame within the capacity.
std::optional<std::size_t> AnnouncedFrameLength(std::string_view frame,
                                                const InfoBlockLayout& layout);

// A block payload (the bytes after STX) as it is saved: the length field
// replaced by CR LF CR LF, so the header stands on a line of its own and an
// empty line follows it.
std::string BlockFileText(std::string_view payload, const InfoBlockLayout& layout);

// Job steps. Each logs its failure once and returns false; the progress
// moves from `from` to `to` while the block arrives. With a path the block
// is saved there (the settings block appended with `append`), otherwise it
// goes to the program's document.
[[nodiscard]] bool ReadVersionBlock(PrinterJob& job, int from, int to, const std::string& path);
// The version block read the same way, its text handed back rather than
// saved or shown: for a job that compares the versions itself.
[[nodiscard]] std::optional<std::string> ReadVersionText(PrinterJob& job, int from, int to);
// The settings block's text, handed back in the same way.
[[nodiscard]] std::optional<std::string> ReadSettingsText(PrinterJob& job, int from, int to);
[[nodiscard]] bool ReadSettingsBlock(PrinterJob& job, int from, int to, const std::string& path,
                                     bool append);
// The version and settings blocks saved to `path` as one file, written only
// once both came in, so a failed second read leaves the file as it was.
[[nodiscard]] bool SaveInformationBlocks(PrinterJob& job, const std::string& path);
// The binary data log, saved to `path`. A serial line runs with the
// READY/BUSY flow (index 4) meanwhile, so XON/XOFF bytes in the data stay data.
[[nodiscard]] bool ReadDataLog(PrinterJob& job, const std::string& path);

// The settings string of a serial line with its flow index replaced.
std::string WithSerialFlow(const std::string& settings, char flow);

}  // namespace rvq
