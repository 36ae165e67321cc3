// The DOS attribute word kept in the extended attribute user.DOSATTRIB, in Samba's form.
#pragma once

#include "sys_error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::platform {

/// Name of the extended attribute that holds the word.
inline constexpr const char* kDosAttribName = "user.DOSATTRIB";

/// The word from the attribute's bytes: "0x" followed by hex digits, optionally ended by a
/// NUL (Samba appends a binary record after it). Anything else gives 0.
[[nodiscard]] std::uint32_t parseDosAttrib(std::string_view bytes);

/// "0x" + lowercase hex, the form written to the attribute.
[[nodiscard]] std::string formatDosAttrib(std::uint32_t value);

/// The stored word of the entry itself (a symbolic link is not followed); 0 when it is
/// missing, unreadable or not supported by the file system.
[[nodiscard]] std::uint32_t readDosAttrib(const std::string& path);

/// Writes the stored word of the entry itself (a symbolic link is not followed).
[[nodiscard]] Status writeDosAttrib(const std::string& path, std::uint32_t value);

} // namespace quorvane::platform
