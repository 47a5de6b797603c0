#pragma once

#include <string>
#include <string_view>

namespace rvq {

// The interfaces the tool knows. `Unknown` is any other name: it is kept
// and written back as read, and the port opens it only when its
// transport() is known ("LAN2").
enum class InterfaceKind { Com, Lan, Usb, Lpt, MultiLan, Unknown };

// An interface name as read from VQTool.INI, the command line or the page,
// parsed once when it is made. The text is kept verbatim ("COM3", "LAN2",
// "FOO") so that saving never changes a name the tool did not understand.
class InterfaceName {
public:
    InterfaceName() = default;
    // Implicit: every place a name enters hands over text.
    InterfaceName(std::string text);
    InterfaceName(const char* text) : InterfaceName(std::string(text)) {}

    // The port number follows COM and LPT ("COM3"); LAN, USB and Multi LAN
    // are whole names. Case matters: "lan" is Unknown.
    InterfaceKind kind() const { return kind_; }
    // What the port opens: the first three characters alone, so "LAN2" is
    // a TCP connection although its kind is Unknown, and "Multi LAN" is
    // no transport at all (its entries open as "LAN").
    InterfaceKind transport() const { return transport_; }

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }

    friend bool operator==(const InterfaceName& a, const InterfaceName& b) {
        return a.text_ == b.text_;
    }

private:
    std::string text_;
    InterfaceKind kind_ = InterfaceKind::Unknown;
    InterfaceKind transport_ = InterfaceKind::Unknown;
};

// The whole-name rule of InterfaceName::kind() and the prefix rule of
// transport(), for text that is not kept.
InterfaceKind KindOfName(std::string_view text);
InterfaceKind TransportOfName(std::string_view text);

// The stored name of an interface ("COM" without its number; "" for Unknown).
std::string NameOf(InterfaceKind kind);

inline bool IsLan(InterfaceKind kind) { return kind == InterfaceKind::Lan; }
inline bool IsMultiLan(InterfaceKind kind) { return kind == InterfaceKind::MultiLan; }
inline bool IsUsb(InterfaceKind kind) { return kind == InterfaceKind::Usb; }
inline bool IsSerial(InterfaceKind kind) { return kind == InterfaceKind::Com; }
inline bool IsParallel(InterfaceKind kind) { return kind == InterfaceKind::Lpt; }

}  // namespace rvq
