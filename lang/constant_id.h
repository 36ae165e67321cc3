// The name of a message constant, checked when the program is compiled.
#pragma once

#include <string_view>

namespace quorvane::lang {

/// A constant's name. The program's code takes ids from the generated
/// lang_constant_ids.h (built-in constants) or added_texts.h (added texts), so a misspelt
/// name fails the build instead of a message at run time.
struct ConstantId
{
    std::string_view name;
};

} // namespace quorvane::lang
