#pragma once

#include <string>

#include "core/platform/file_io.h"

namespace rvq {

// The login password is kept, scrambled, in a small machine store file
// beside VQTool.INI (mode 0600), in place of a machine registry value.
std::string MachineStorePath(const std::string& iniPath);

// Scrambles text as the stored passwords are written: each character's
// code as upper-case hexadecimal ("%02X"), every digit then shifted by 19
// ("0".."9" -> "C".."L", "A".."F" -> "T".."Y"). "abc" -> "IDIEIF".
std::string EncodeStoredPassword(const std::string& text);
// The reverse; an odd length loses its last character first.
std::string DecodeStoredPassword(const std::string& stored);

// The decoded password, or empty when there is none or the store is unreadable.
std::string LoadPassword(const std::string& storePath);
// Stores the password (empty removes the login) in a file only its owner
// may read. Fails when the store cannot be written.
[[nodiscard]] WriteResult SavePassword(const std::string& storePath, const std::string& password);

}  // namespace rvq
