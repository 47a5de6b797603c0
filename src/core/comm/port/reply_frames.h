#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/code_page.h"

namespace rvq {

// Printer status codes the engine tests; any other code is a printer error.
namespace status {
inline constexpr int kNoFrame = -1;
inline constexpr int kReady = 0;
inline constexpr int kReadyAlt = 27;
inline constexpr int kDownloadAccepted = 52;
inline constexpr int kNextBlock = 53;
inline constexpr int kDownloadComplete = 56;
inline constexpr int kModeZ = 101;
inline constexpr int kModeVpcl = 102;
inline constexpr int kModeSetting = 103;
}  // namespace status

// The status code of the last 13-byte status or mode frame in `bytes`;
// -1 when there is none (or the last one cannot be read).
int ParseStatusFrame(std::string_view bytes);

// The 5-character type text of the first 27-byte type frame in `bytes`;
// empty when there is none.
std::string ParseTypeFrame(std::string_view bytes);

// Splits a data frame into its fields: field 0 is the 5-character header,
// fields 1, 2, ... the command's values, each converted from `codePage` to
// UTF-8 and cut at a NUL the printer put inside it. The lengths count bytes
// of the code page; a frame that counts a double-byte character as one is
// read that way. Returns false, leaving `fields` empty, when the frame is
// missing, empty or its total length matches neither count.
[[nodiscard]] bool ParseReplyFields(std::string_view bytes, CodePage codePage,
                                    std::vector<std::string>& fields);

}  // namespace rvq
