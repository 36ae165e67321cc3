// TransformName: every rule applied to one entry, in the program's fixed order.
#include "transform_name.h"

#include "entry_list.h"
#include "name_rules.h"
#include "platform/case_fold.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <utility>

namespace quorvane::engine {

namespace {

// Anchors a search at the start of a name and carries the two-pass replace. It must be a
// character no name can hold, or a name holding it would be changed by an unrelated rule: a
// code point of the private-use surrogates, which decoding a name never gives (UTF-8 has no
// surrogates, and the bytes that are no UTF-8 come out as U+DC80..U+DCFF).
constexpr char32_t kMarkerCharacter = 0xDB80;
constexpr std::u32string_view kMarker { &kMarkerCharacter, 1 };
static_assert(
    kMarkerCharacter < platform::kEscapeBase || kMarkerCharacter > platform::kEscapeBase + 0xFF);

/// a + b, held at the ends of the range instead of overflowing.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
}

std::u32string targetName(std::u32string_view entry, std::size_t position, const RunState& state)
{
    if (position >= state.TargetNames.size()) {
        throw RunError("Nessun nome di destinazione per \u00AB"
            + platform::toDisplayUtf8(extract_name(entry)) + "\u00BB (posizione "
            + std::to_string(position + 1) + ")");
    }
    return state.TargetNames[position];
}

std::u32string expandDashes(std::u32string name)
{
    std::size_t i = 0;
    while (i < name.size()) {
        if (name[i] != U'-') {
            ++i;
            continue;
        }
        if (i == 0 || name[i - 1] != U' ')
            name.insert(i++, 1, U' ');
        if (i + 1 >= name.size() || name[i + 1] != U' ')
            name.insert(i + 1, 1, U' ');
        i += 2; // past the dash and the space after it
    }
    return name;
}

std::u32string numbered(const std::u32string& name, std::int64_t& counter, const RunState& state)
{
    const SplitName parts = SplitExt(name);
    std::u32string result;
    for (const LayoutElement& element : state.NumLayout) {
        switch (element.kind) {
        case LayoutKind::FileName:
            result += parts.base;
            break;
        case LayoutKind::Number:
            result += Addzero(
                saturatingAdd(counter, std::int64_t { state.NumStart } - 1), state.NumDigits);
            break;
        case LayoutKind::Separator:
            result += U" - ";
            break;
        case LayoutKind::Space:
            result += U' ';
            break;
        case LayoutKind::Literal:
            result += element.text;
            break;
        }
    }
    if (!parts.ext.empty())
        result += U'.' + parts.ext;
    counter = saturatingAdd(counter, state.NumStep);
    return result;
}

std::u32string withoutNumbering(
    const std::u32string& name, const RenameOptions& options, const RunState& state)
{
    std::u32string result = RemoveNumbering(name, state.NumDigits, state.DelNumLeadingOnly);
    if (state.DelNumMode == 2) {
        static constexpr std::array<std::u32string_view, 5> separators { U" - ", U"- ", U" -", U"-",
            U"" };
        result.insert(0, kMarker);
        for (const std::u32string_view separator : separators) {
            result = ReplaceSequence(result, std::u32string(kMarker) + std::u32string(separator),
                U"", options.KeepExtDot);
        }
        result = CompactBlanks(result);
        result = ReplaceSequence(result, U"- -", U"-", options.KeepExtDot);
    } else if (state.DelNumMode == 3) {
        SplitName parts = SplitExt(result);
        for (int k = 0; k < 3; ++k) {
            if (!parts.base.empty() && (parts.base.back() == U' ' || parts.base.back() == U'-'))
                parts.base.pop_back();
        }
        parts.base = ReplaceSequence(CompactBlanks(parts.base), U"- -", U"-", options.KeepExtDot);
        result = parts.ext.empty() ? parts.base : parts.base + U'.' + parts.ext;
    }
    return result;
}

std::u32string shortName(const std::u32string& name)
{
    SplitName parts = SplitExt(name);
    std::erase_if(parts.base, [](char32_t c) { return c == U' ' || c == U'.'; });
    std::u32string result = parts.base.substr(0, 8);
    if (!parts.ext.empty())
        result += U'.' + parts.ext.substr(0, 3);
    return result;
}

/// The nameless rule for a step that left a leading dot where there was none: on this
/// platform such a name would hide the entry, which no rule is meant to do.
std::u32string keptVisible(const std::u32string& before, std::u32string after)
{
    if (!before.empty() && before.front() == U'.')
        return after;
    return applyNamelessRule(std::move(after));
}

std::u32string withCase(std::u32string name, const RenameOptions& options)
{
    if (options.ComboBox1 == kCaseOptimize || options.ComboBox1 == kCaseLower) {
        std::ranges::transform(name, name.begin(), platform::letterLower);
        if (options.ComboBox1 == kCaseOptimize)
            name = CapitaliseWords(name, options);
        name = ConvertAccents(name, AccentDirection::ToAccented, options.HandleAccents);
    } else if (options.ComboBox1 == kCaseUpper) {
        name = ConvertAccents(name, AccentDirection::ToApostrophe, options.HandleAccents);
        std::ranges::transform(name, name.begin(), platform::letterUpper);
    }
    return name;
}

} // namespace

std::u32string TransformName(std::u32string_view entry, std::size_t position, std::int64_t& counter,
    const RenameOptions& options, const RunState& state)
{
    const std::u32string oldName = extract_name(entry);
    std::u32string name = oldName;

    if (options.RinominadaFile1 || options.RinominadaCDDB1)
        name = targetName(entry, position, state);
    if (options.EliminaSequenzaCaratteri1)
        name = ReplaceSequence(name, state.DeleteSeq, U"", options.KeepExtDot);
    if (options.SostSeqCar1) {
        name = ReplaceSequence(name, state.ReplaceFrom, kMarker, options.KeepExtDot);
        name = ReplaceSequence(name, kMarker, state.ReplaceTo, options.KeepExtDot);
    }
    if (options.CheckBox8)
        std::ranges::replace(name, U'_', U' ');
    if (options.CheckBox11)
        name = expandDashes(std::move(name));
    if (options.NumerazioneFiles1 && dir_or_file(entry) != kDirKind)
        name = keptVisible(name, numbered(name, counter, state));
    if (options.EliminaNumerazioneFiles1)
        name = keptVisible(name, withoutNumbering(name, options, state));
    if (options.CompactSpaces)
        name = keptVisible(name, CompactBlanks(name));
    name = withCase(std::move(name), options);
    if (options.Rinominainformato831)
        name = keptVisible(name, shortName(name));
    name = keptVisible(name, Check_Char_Vietati(name, options.dosnames1));

    // Nothing left of the name: the entry keeps the one it has.
    return name.empty() ? oldName : name;
}

} // namespace quorvane::engine
