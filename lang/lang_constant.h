// One named message constant.
#pragma once

#include <cstdint>
#include <string>

namespace quorvane::lang {

/// A message constant: its name, the text in force and the built-in text.
struct TLang_Constant
{
    std::string name; ///< a valid identifier (ASCII)
    std::u32string text; ///< the text in force now
    std::u32string defaultText; ///< the built-in text, fixed when the constant is created
    std::uint8_t flags = 0; ///< stored, never read
};

} // namespace quorvane::lang
