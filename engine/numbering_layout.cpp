// The numbering layout as the numbering dialog edits and shows it.
#include "numbering_layout.h"

#include "lang/language_manager.h"

#include <algorithm>

namespace quorvane::engine {

std::vector<std::u32string> defaultNumLayout()
{
    return { lang::LookupConstant(lang::id::NUMERAZIONE),
        lang::LookupConstant(lang::id::SEPARATORE), lang::LookupConstant(lang::id::FILENAME) };
}

bool layoutHasNumber(const std::vector<std::u32string>& layout)
{
    return std::ranges::find(layout, lang::LookupConstant(lang::id::NUMERAZIONE)) != layout.end();
}

std::u32string numberingExample(const std::vector<std::u32string>& layout, int digits)
{
    if (layout.empty())
        return {};
    const std::u32string fileName = lang::LookupConstant(lang::id::FILENAME);
    const std::u32string number = lang::LookupConstant(lang::id::NUMERAZIONE);
    const std::u32string separator = lang::LookupConstant(lang::id::SEPARATORE);
    const std::u32string space = lang::LookupConstant(lang::id::SPAZIO);
    std::u32string example;
    for (const std::u32string& element : layout) {
        if (element == separator)
            example += U" - ";
        else if (element == number)
            example.append(static_cast<std::size_t>(std::max(digits, 0)), U'N');
        else if (element == fileName)
            example += fileName;
        else if (element == space)
            example += U' ';
        else
            example += element;
    }
    return example + U".ext";
}

CleanedStart cleanStartValue(std::u32string_view typed)
{
    CleanedStart cleaned;
    std::ranges::copy_if(
        typed, std::back_inserter(cleaned.text), [](char32_t c) { return c >= U'0' && c <= U'9'; });
    if (cleaned.text.empty())
        cleaned.text = U"1";
    cleaned.changed = cleaned.text != typed;
    return cleaned;
}

} // namespace quorvane::engine
