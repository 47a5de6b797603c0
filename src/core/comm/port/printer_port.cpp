#include "core/comm/port/printer_port.h"

#include "core/app/text.h"
#include "core/comm/port/reply_frame_scan.h"
#include "core/comm/port/transport_table.h"
#include "core/comm/port/usb_devices.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>

namespace rvq {

namespace {
// What a USB printer may still hold from an earlier job.
constexpr std::size_t kUsbDiscardBytes = 4096;
constexpr int kUsbDiscardMs = 100;
}  // namespace

PrinterPort::PrinterPort(const Clock& clock, const std::atomic<bool>* cancel)
    : clock_(clock), cancel_(cancel) {}

PrinterPort::~PrinterPort() { Close(); }

bool PrinterPort::Fail(PortStatus status, std::uint32_t error) {
    status_ = status;
    lastError_ = error;
    return false;
}

bool PrinterPort::Open(const InterfaceName& interfaceName, const std::string& settings) {
    Close();
    interfaceName_ = interfaceName;
    settings_ = settings;
    const TransportRow& row = TransportFor(interfaceName.transport());
    if (row.makeTransport == nullptr) return false;
    std::unique_ptr<PortTransport> transport = row.makeTransport(clock_, cancel_);
    if (row.lookup == DeviceLookup::UsbPath && !OpenUsb()) return false;
    const std::string& target =
        row.lookup == DeviceLookup::NodeByName ? interfaceName_.text() : settings_;
    const IoResult opened = transport->Open(target, settings_);
    if (!opened.ok) return Fail(opened.status, opened.error);
    transport_ = std::move(transport);
    kind_ = transport_->Kind();
    status_ = PortStatus::Idle;
    lastError_ = 0;
    return true;
}

void PrinterPort::DiscardQueued() {
    if (kind_ != PortKind::Usb) return;
    std::array<std::uint8_t, kUsbDiscardBytes> discard{};
    std::ignore = transport_->Read(discard, kUsbDiscardMs);
}

// A filter is resolved to the one printer it matches; that device path
// then replaces the settings.
bool PrinterPort::OpenUsb() {
    if (StartsWith(settings_, "\\\\")) return true;
    std::vector<std::string> matches;
    if (!EnumerateUsbDevices(settings_, matches) || matches.size() != 1)
        return Fail(PortStatus::OpenFailed, 0);
    settings_ = matches.front();
    return true;
}

bool PrinterPort::Close() {
    if (transport_ == nullptr) return true;
    transport_->Close();
    transport_.reset();
    kind_ = PortKind::None;
    interfaceName_ = {};
    settings_.clear();
    status_ = PortStatus::Closed;
    return true;
}

bool PrinterPort::Read(std::span<std::uint8_t> buffer, int timeoutMs, std::size_t& count) {
    count = 0;
    if (transport_ == nullptr) return false;
    const PortStatus before = status_;
    const bool showsReading = kind_ == PortKind::Serial || kind_ == PortKind::Parallel;
    if (showsReading) status_ = PortStatus::Reading;
    const IoResult result = transport_->Read(buffer, timeoutMs);
    lastWaits_ = result.waits;
    if (!result.ok) return Fail(result.status, result.error);
    if (showsReading) status_ = before;
    count = std::min(result.count, buffer.size());
    return true;
}

bool PrinterPort::Write(std::span<const std::uint8_t> data, int timeoutMs) {
    if (transport_ == nullptr) return false;
    status_ = PortStatus::Writing;
    const IoResult result = data.empty() ? IoResult::Done(0) : transport_->Write(data, timeoutMs);
    lastWaits_ = result.waits;
    if (!result.ok) return Fail(result.status, result.error);
    status_ = PortStatus::Idle;
    return true;
}

bool PrinterPort::Transact(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply,
                           std::size_t& replyLength, int timeoutMs) {
    replyLength = 0;
    if (transport_ == nullptr || !Write(command, timeoutMs)) return false;
    std::size_t received = 0;
    for (;;) {
        // A buffer full of bytes that hold no frame will not gain one.
        if (received == reply.size()) return Fail(PortStatus::ReadFailed, 0);
        std::size_t count = 0;
        if (!Read(reply.subspan(received), timeoutMs, count)) return false;
        received += count;
        if (const auto frame = FindReplyFrame(reply.first(received))) {
            std::memmove(reply.data(), reply.data() + frame->offset, frame->length);
            replyLength = frame->length;
            return true;
        }
    }
}

bool PrinterPort::EnumerateUsbDevices(const std::string& filter, std::vector<std::string>& paths) {
    paths = MatchUsbPaths(ParseUsbFilter(filter), ListUsbPrinterPaths(UsbRoots::FromEnvironment()));
    return true;
}

}  // namespace rvq
