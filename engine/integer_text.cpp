// Integer fields as the program's dialogs and files hold them.
#include "integer_text.h"

namespace quorvane::engine {

std::optional<std::int32_t> integerValue(std::u32string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == U'-' || text.front() == U'+')) {
        negative = text.front() == U'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulated as a magnitude in 64 bits: the range check is exact for both signs.
    constexpr std::int64_t kLimit = std::int64_t { 1 } << 31;
    std::int64_t magnitude = 0;
    for (const char32_t c : text) {
        if (c < U'0' || c > U'9')
            return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::int64_t>(c - U'0');
        if (magnitude > kLimit)
            return std::nullopt;
    }
    if (!negative && magnitude == kLimit)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::u32string notAnIntegerMessage(std::u32string_view text)
{
    return U"'" + std::u32string(text) + U"' is not a valid integer value";
}

} // namespace quorvane::engine
