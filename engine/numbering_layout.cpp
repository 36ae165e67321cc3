// The numbering layout: its elements, as the numbering dialog edits and shows them.
#include "numbering_layout.h"

#include "lang/language_manager.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvane::engine {

namespace {

/// The elements that a constant names, in the order a word is tried against them.
constexpr std::array<std::pair<LayoutKind, lang::ConstantId>, 4> kNamedElements { {
    { LayoutKind::FileName, lang::id::FILENAME },
    { LayoutKind::Number, lang::id::NUMERAZIONE },
    { LayoutKind::Separator, lang::id::SEPARATORE },
    { LayoutKind::Space, lang::id::SPAZIO },
} };

} // namespace

LayoutElement layoutElementNamed(std::u32string_view word)
{
    for (const auto& [kind, id] : kNamedElements) {
        if (word == lang::LookupConstant(id))
            return { kind, {} };
    }
    return { LayoutKind::Literal, std::u32string(word) };
}

std::u32string layoutElementText(const LayoutElement& element)
{
    const auto* named = std::ranges::find(
        kNamedElements, element.kind, &std::pair<LayoutKind, lang::ConstantId>::first);
    return named == kNamedElements.end() ? element.text : lang::LookupConstant(named->second);
}

NumberingLayout defaultNumLayout()
{
    return { { LayoutKind::Number, {} }, { LayoutKind::Separator, {} },
        { LayoutKind::FileName, {} } };
}

bool layoutHasNumber(const NumberingLayout& layout)
{
    return std::ranges::find(layout, LayoutKind::Number, &LayoutElement::kind) != layout.end();
}

std::u32string numberingExample(const NumberingLayout& layout, int digits)
{
    if (layout.empty())
        return {};
    std::u32string example;
    for (const LayoutElement& element : layout) {
        switch (element.kind) {
        case LayoutKind::Separator:
            example += U" - ";
            break;
        case LayoutKind::Number:
            example.append(static_cast<std::size_t>(std::max(digits, 0)), U'N');
            break;
        case LayoutKind::Space:
            example += U' ';
            break;
        case LayoutKind::FileName:
        case LayoutKind::Literal:
            example += layoutElementText(element);
            break;
        }
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
