#pragma once

#include <string>

#include "core/platform/file_io.h"

namespace rvq {

// The login password is kept, scrambled, in a small machine store file
// (mode 0600) in place of a machine registry value: /etc/rvq-setting-tool
// for the per-user settings, beside VQTool.INI for a settings folder of its
// own (FileLocations::machineStorePath). This is the one beside `iniPath`.
std::string MachineStorePath(const std::string& iniPath);

// Scrambles text as the stored passwords are written: each character's
// code as upper-case hexadecimal ("%02X"), every digit then shifted by 19
// ("0".."9" -> "C".."L", "A".."F" -> "T".."Y"). "abc" -> "IDIEIF".
std::string EncodeStoredPassword(const std::string& text);
// The reverse; an odd length loses its last character first.
std::string DecodeStoredPassword(const std::string& stored);

// The decoded password, or empty when there is none or the store is unreadable.
std::string LoadPassword(const std::string& storePath);
// Why a store that exists cannot be read by this user ("" when it can, or
// when there is none): a login password may be kept there, so the caller
// must not take it as "no login".
std::string UnreadableStoreProblem(const std::string& storePath);
// Stores the password (empty removes the login) in a file only its owner
// may read, creating the store's folder when it is missing. Fails when the
// store cannot be written.
[[nodiscard]] WriteResult SavePassword(const std::string& storePath, const std::string& password);

}  // namespace rvq
