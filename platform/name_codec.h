// Lossless conversion between file-name bytes and code points, and the text codecs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

/// First code point used to carry a byte that is not part of valid UTF-8 (U+DC80 + byte).
inline constexpr char32_t kEscapeBase = 0xDC80;

/// Decodes bytes as UTF-8; every byte that does not belong to a valid sequence (overlong
/// forms and encoded surrogates included) becomes U+DC80 + byte. Never fails.
[[nodiscard]] std::u32string decodeName(std::string_view bytes);
/// The same into `out` (its old contents replaced), reusing its room.
void decodeName(std::string_view bytes, std::u32string& out);

/// The inverse of decodeName: code points as UTF-8, U+DC80..U+DCFF as the byte they carry.
/// encodeName(decodeName(b)) == b for every byte string b.
[[nodiscard]] std::string encodeName(std::u32string_view name);

/// UTF-8 for showing: escaped bytes and other surrogates become U+FFFD.
[[nodiscard]] std::string toDisplayUtf8(std::u32string_view text);

/// True when the bytes are entirely valid UTF-8.
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

/// Windows-1252 bytes to code points (the five unassigned codes map to U+0081 ...).
[[nodiscard]] std::u32string decodeCp1252(std::string_view bytes);

/// Code points to Windows-1252; nullopt when a code point has no Windows-1252 form.
[[nodiscard]] std::optional<std::string> encodeCp1252(std::u32string_view text);

/// A text file's contents: UTF-8 when it starts with a BOM (dropped) or is valid UTF-8,
/// otherwise Windows-1252.
[[nodiscard]] std::u32string decodeTextFile(std::string_view bytes);

} // namespace quorvane::platform
