// Reading the version block, the settings block and the data log.
#include "core/comm/ops/printer_info_read.h"

#include <algorithm>
#include <functional>
#include <new>
#include <span>
#include <thread>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

constexpr int kDataLogRequest = 41100;
constexpr int kSettingsRequest = 41101;
constexpr int kVersionRequest = 41102;

constexpr std::size_t kFirstSettingsRead = 4096;
constexpr std::size_t kChunk = 1024;
constexpr std::string_view kTrailer{"\x03\x04\r\n", 4};

enum class ReadEnd { Done, TimedOut, Failed, Cancelled };

using Progress = std::function<void(std::size_t received)>;

// Reads one slice after another until at least one byte came or `timeoutMs`
// passed; the slices let a cancel end a long wait.
ReadEnd ReadSome(PrinterJob& job, std::string& buffer, std::size_t most, int timeoutMs) {
    const std::int64_t deadline = job.clock().NowMs() + timeoutMs;
    std::vector<std::uint8_t> piece(most);
    for (;;) {
        const std::int64_t left = deadline - job.clock().NowMs();
        if (left <= 0) return ReadEnd::TimedOut;
        std::size_t count = 0;
        const int slice = static_cast<int>(std::min<std::int64_t>(left, 500));
        if (job.port().Read(std::span<std::uint8_t>(piece.data(), most), slice, count)) {
            buffer.append(reinterpret_cast<const char*>(piece.data()), count);
            return ReadEnd::Done;
        }
        if (job.port().status() != PortStatus::TimedOut) return ReadEnd::Failed;
        if (job.CancelCheck()) return ReadEnd::Cancelled;
    }
}

// Reads exactly `count` more bytes in reads of at most `chunk` bytes.
ReadEnd ReadExactly(PrinterJob& job, std::string& buffer, std::size_t count, std::size_t chunk,
                    int perReadMs, int pauseMs, const Progress& progress) {
    const std::size_t target = buffer.size() + count;
    while (buffer.size() < target) {
        if (const ReadEnd end =
                ReadSome(job, buffer, std::min(chunk, target - buffer.size()), perReadMs);
            end != ReadEnd::Done) {
            return end;
        }
        if (progress) progress(buffer.size());
        if (pauseMs > 0 && buffer.size() < target) job.clock().SleepMs(pauseMs);
    }
    return ReadEnd::Done;
}

// A USB printer sends its block in one go: read until the frame's end, at
// most `capacity` bytes. Once the length field is in, the frame's announced
// end counts, so binary data that happens to hold the end marker does not
// cut the read short.
ReadEnd ReadUntilTrailer(PrinterJob& job, std::string& buffer, const InfoBlockLayout& layout,
                         int perReadMs, int totalMs, const Progress& progress) {
    const std::int64_t deadline = job.clock().NowMs() + totalMs;
    while (buffer.size() < layout.capacity) {
        const std::int64_t left = deadline - job.clock().NowMs();
        if (left <= 0) break;
        const ReadEnd end =
            ReadSome(job, buffer, std::min<std::size_t>(layout.capacity - buffer.size(), 65536),
                     static_cast<int>(std::min<std::int64_t>(left, perReadMs)));
        if (end == ReadEnd::TimedOut) break;
        if (end != ReadEnd::Done) return end;
        if (progress) progress(buffer.size());
        const auto announced = AnnouncedFrameLength(buffer, layout);
        if (announced ? buffer.size() >= *announced : std::string_view(buffer).ends_with(kTrailer))
            break;
    }
    return buffer.empty() ? ReadEnd::TimedOut : ReadEnd::Done;
}

// Logs why a read ended early; false.
bool ReadFailed(PrinterJob& job, ReadEnd end) {
    if (end == ReadEnd::TimedOut) job.log().Fail(sid::kDetailTimeout);
    if (end == ReadEnd::Failed) job.log().Fail(sid::kDetailCommunication, job.port().lastError());
    return false;
}

// Takes the printer out of its setting mode after a failure that left it
// there; the failure is already logged, so nothing more is.
bool LeaveAfterFailure(PrinterJob& job) {
    std::ignore = job.ModeShift(false, false, 0);
    job.ClosePort();
    return false;
}

// A length the printer sent that cannot be right: nothing is read or
// written on its strength.
bool BadLength(PrinterJob& job) {
    job.log().Fail(sid::kDetailCommunication);
    return LeaveAfterFailure(job);
}

bool SendRequest(PrinterJob& job, int commandId) {
    const std::string command = FrameCommand(job.log().strings().Get(commandId), job.codes());
    return job.Send(command, 1000);
}

Progress Between(PrinterJob& job, int from, int to, std::size_t startAt, std::size_t total) {
    return [&job, from, to, startAt, total](std::size_t received) {
        if (total <= startAt) return;
        const std::size_t done = std::min(received, total) - std::min(received, startAt);
        job.PostProgress(
            from + static_cast<int>((to - from) * static_cast<double>(done) / (total - startAt)));
    };
}

bool SaveBlock(PrinterJob& job, const std::string& path, std::string_view bytes, bool append) {
    std::string text;
    if (append) {
        // A file that is not there yet is simply started.
        if (auto old = ReadFileBytes(path)) text = std::move(*old);
    }
    text.append(bytes);
    if (WriteFileAtomically(path, text)) return true;
    job.log().Fail(sid::kDetailNotSaved);
    return LeaveAfterFailure(job);
}

// The payload as text for the document's parsers: up to its first NUL, in
// the code page of the interface language.
std::string PayloadText(PrinterJob& job, std::string_view payload) {
    payload = payload.substr(0, payload.find('\0'));
    return FromCodePage(payload, CodePageFor(job.context().isJapanese));
}

enum class BlockKind { Version, Settings };

// Reads one 4-digit block; `payload` gets the bytes after STX.
bool ReadBlock(PrinterJob& job, BlockKind kind, int from, int to, std::string& payload) {
    const InfoBlockLayout& layout = kind == BlockKind::Version ? kVersionBlock : kSettingsBlock;
    if (!SendRequest(job, kind == BlockKind::Version ? kVersionRequest : kSettingsRequest))
        return false;
    job.PostProgress(from + 2);
    std::string frame;
    try {
        frame.reserve(layout.capacity);
    } catch (const std::bad_alloc&) {
        job.log().Fail(sid::kDetailSystem);
        return false;
    }
    const int progressFrom = from + (kind == BlockKind::Version ? 3 : 5);
    const std::size_t prefix = 2 + layout.headerLength + layout.lengthDigits;
    std::size_t payloadLength = 0;
    if (job.IsUsb()) {
        const ReadEnd end = ReadUntilTrailer(job, frame, layout, 2000, 15000,
                                             Between(job, progressFrom, to, 0, layout.capacity));
        if (end != ReadEnd::Done) return ReadFailed(job, end);
        const auto announced =
            frame.size() >= prefix ? AnnouncedFrameLength(frame, layout) : std::nullopt;
        if (!announced) return BadLength(job);
        payloadLength = std::min(*announced - kInfoFrameOverhead, frame.size() - 2);
    } else {
        const std::size_t first = kind == BlockKind::Version ? prefix : kFirstSettingsRead;
        ReadEnd end = ReadExactly(job, frame, first, first, 30000, 20, {});
        if (end != ReadEnd::Done) return ReadFailed(job, end);
        const auto announced = AnnouncedFrameLength(frame, layout);
        if (!announced || *announced < frame.size()) return BadLength(job);
        const std::size_t rest = *announced - frame.size();
        end = ReadExactly(job, frame, rest, kChunk, 10000, 0,
                          Between(job, progressFrom, to, first, *announced));
        if (end != ReadEnd::Done) return ReadFailed(job, end);
        payloadLength = *announced - kInfoFrameOverhead;
    }
    payload = frame.substr(2, payloadLength);
    return true;
}

}  // namespace

std::optional<std::size_t> ParseLengthField(std::string_view field) {
    if (field.empty()) return std::nullopt;
    std::size_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

std::optional<std::size_t> AnnouncedFrameLength(std::string_view frame,
                                                const InfoBlockLayout& layout) {
    const std::size_t at = 2 + layout.headerLength;
    if (frame.size() < at + layout.lengthDigits) return std::nullopt;
    const auto length = ParseLengthField(frame.substr(at, layout.lengthDigits));
    if (!length || *length > layout.capacity - at - layout.lengthDigits - 4) return std::nullopt;
    return *length + at + layout.lengthDigits + 4;
}

std::string BlockFileText(std::string_view payload, const InfoBlockLayout& layout) {
    std::string text(payload);
    if (text.size() >= layout.headerLength + layout.lengthDigits)
        text.replace(layout.headerLength, layout.lengthDigits, "\r\n\r\n");
    return text;
}

std::string WithSerialFlow(const std::string& settings, char flow) {
    if (settings.empty()) return settings;
    std::string changed = settings;
    changed.back() = flow;
    return changed;
}

bool ReadVersionBlock(PrinterJob& job, int from, int to, const std::string& path) {
    std::string payload;
    if (!ReadBlock(job, BlockKind::Version, from, to, payload)) return false;
    if (!path.empty()) return SaveBlock(job, path, BlockFileText(payload, kVersionBlock), false);
    Document* document = job.document();
    if (!document) {
        job.log().Fail(sid::kDetailSystem);
        return false;
    }
    document->ParseVersionInfo(PayloadText(job, payload));
    return true;
}

std::optional<std::string> ReadVersionText(PrinterJob& job, int from, int to) {
    std::string payload;
    if (!ReadBlock(job, BlockKind::Version, from, to, payload)) return std::nullopt;
    return PayloadText(job, payload);
}

std::optional<std::string> ReadSettingsText(PrinterJob& job, int from, int to) {
    std::string payload;
    if (!ReadBlock(job, BlockKind::Settings, from, to, payload)) return std::nullopt;
    return PayloadText(job, payload);
}

bool ReadSettingsBlock(PrinterJob& job, int from, int to, const std::string& path, bool append) {
    std::string payload;
    if (!ReadBlock(job, BlockKind::Settings, from, to, payload)) return false;
    if (!path.empty()) return SaveBlock(job, path, BlockFileText(payload, kSettingsBlock), append);
    Document* document = job.document();
    if (!document) {
        job.log().Fail(sid::kDetailSystem);
        return false;
    }
    document->ParsePrinterInfo(PayloadText(job, payload));
    return true;
}

bool SaveInformationBlocks(PrinterJob& job, const std::string& path) {
    std::string version;
    std::string settings;
    if (!ReadBlock(job, BlockKind::Version, 5, 45, version)) return false;
    if (job.IsUsb() && !job.CancellableWait(1000)) return false;
    if (!ReadBlock(job, BlockKind::Settings, 45, 90, settings)) return false;
    return SaveBlock(
        job, path, BlockFileText(version, kVersionBlock) + BlockFileText(settings, kSettingsBlock),
        false);
}

bool ReadDataLog(PrinterJob& job, const std::string& path) {
    const std::string original = job.setup().connection.settings;
    const bool serial = job.IsSerial();
    if (serial && !job.Reopen(WithSerialFlow(original, '4'))) {
        job.log().Fail(sid::kDetailCommunication, job.port().lastError());
        return false;
    }
    if (!SendRequest(job, kDataLogRequest)) return false;
    job.PostProgress(5);

    const InfoBlockLayout& layout = kDataLogBlock;
    std::string frame;
    std::size_t payloadLength = 0;
    try {
        if (job.IsUsb()) {
            const ReadEnd end =
                ReadUntilTrailer(job, frame, layout, 2000, 180000, [&](std::size_t received) {
                    const auto announced = AnnouncedFrameLength(frame, layout);
                    Between(job, 5, 90, 0, announced.value_or(layout.capacity))(received);
                });
            if (end != ReadEnd::Done) return ReadFailed(job, end);
            const auto announced = AnnouncedFrameLength(frame, layout);
            if (!announced) return BadLength(job);
            payloadLength = std::min(*announced - kInfoFrameOverhead, frame.size() - 2);
        } else {
            ReadEnd end =
                ReadExactly(job, frame, kFirstSettingsRead, kFirstSettingsRead, 30000, 0, {});
            if (end != ReadEnd::Done) return ReadFailed(job, end);
            job.PostProgress(10);
            const auto announced = AnnouncedFrameLength(frame, layout);
            if (!announced || *announced < frame.size()) return BadLength(job);
            frame.reserve(*announced);
            end = ReadExactly(job, frame, *announced - frame.size(), 65536, 10000, 0,
                              Between(job, 5, 90, kFirstSettingsRead, *announced));
            if (end != ReadEnd::Done) return ReadFailed(job, end);
            payloadLength = *announced - kInfoFrameOverhead;
        }
    } catch (const std::bad_alloc&) {
        job.log().Fail(sid::kDetailSystem);
        return false;
    }
    if (!SaveBlock(job, path, std::string_view(frame).substr(2, payloadLength), false))
        return false;
    if (serial && !job.Reopen(original)) {
        job.log().Fail(sid::kDetailCommunication, job.port().lastError());
        return false;
    }
    return true;
}

}  // namespace rvq
