// The LangData value of every translatable form, embedded in the program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quorvane::lang {

/// The form's LangData value (see lang_entries.h), or an empty span for a form that has
/// none. Generated at build time from form_entries.txt.
[[nodiscard]] std::span<const std::uint8_t> findFormLangData(std::string_view formName);

/// The names of the forms that have a LangData value, in the order of form_entries.txt.
[[nodiscard]] std::vector<std::string_view> formsWithLangData();

} // namespace quorvane::lang
