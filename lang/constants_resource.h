// The built-in constants resource: its binary layout and the embedded copy.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorvane::lang {

class TLang_Constants;

/// The named resources embedded in the executable; an empty span when there is none of
/// that name. "LANG_CONSTS" holds the built-in constants.
[[nodiscard]] std::span<const std::uint8_t> findResource(std::string_view name);

/// Clears the table and fills it from a blob in the LANG_CONSTS layout (little-endian:
/// flag byte, signed 32-bit count, then per entry a 16-bit length and the Windows-1252
/// name, a 16-bit length and the Windows-1252 text). Bytes after the last entry are not
/// read. Throws ELangError for a truncated blob, a negative count, or the table's errors.
/// Returns the flag byte.
std::uint8_t loadConstantsResource(std::span<const std::uint8_t> blob, TLang_Constants& table);

} // namespace quorvane::lang
