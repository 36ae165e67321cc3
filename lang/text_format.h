// printf-style filling of message texts ("%s", "%d", "%3s", "%%").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace quorvane::lang {

/// One argument of formatText.
using FormatArg = std::variant<std::int64_t, std::u32string>;

/// Fills "%s" and "%d" placeholders in order, with an optional width ("%3s" pads on the
/// left with spaces) and "%-3s" for left alignment; "%%" is a percent sign. Texts come from
/// language files, so nothing here may fail: a placeholder without an argument, or an
/// unknown specifier, is copied as it stands, and a number given to "%s" (or text to "%d")
/// is written as it is.
[[nodiscard]] std::u32string formatText(
    std::u32string_view pattern, std::initializer_list<FormatArg> args);

} // namespace quorvane::lang
