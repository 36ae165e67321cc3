// Language files: the translation set one file holds, its parser and the text escapes.
#include "lang_file.h"

#include "lang_error.h"

#include "platform/file_content.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>

namespace quorvane::lang {

namespace {

// A language file is text for people to edit; anything larger is not one.
constexpr std::size_t kMaxFileBytes = std::size_t { 16 } * 1024 * 1024;

bool equalNames(std::string_view a, std::string_view b)
{
    return TLang_Constants::compareNames(a, b) == 0;
}

[[noreturn]] void throwDuplicateId(std::int32_t id)
{
    throw ELangError("Duplicate property value translation ID (" + std::to_string(id) + ")");
}

bool idBefore(const TLang_PropValueTranslation& a, const TLang_PropValueTranslation& b)
{
    return a.id < b.id;
}

std::u32string_view trimmed(std::u32string_view text)
{
    while (!text.empty() && text.front() <= U' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() <= U' ')
        text.remove_suffix(1);
    return text;
}

std::string toKey(std::u32string_view text)
{
    return platform::encodeName(text);
}

/// The constants whose texts end up in file names: the prefix of a name that would begin
/// with ".", and the numbering layout's elements, which stay in a layout as literal text
/// once another language is in force.
constexpr std::array<std::string_view, 5> kNameConstants { "SENZA_NOME", "FILENAME", "NUMERAZIONE",
    "SEPARATORE", "SPAZIO" };

/// Refuses a text that would carry a name into another directory or cut it short.
void checkNameText(const std::string& key, std::u32string_view text)
{
    if (std::ranges::none_of(
            kNameConstants, [&](std::string_view name) { return equalNames(key, name); }))
        return;
    if (text.find_first_of(std::u32string_view(U"/\0", 2)) != std::u32string_view::npos)
        throw ELangError("The text of " + key
            + " becomes part of file names and may not hold \"/\" or a NUL character");
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

/// Parses the file line by line; `section` is empty before the first section line. Entries
/// are checked as their lines come and reach the set at finish(): a file holds them in any
/// order, a section may be opened again, and one sort per table keeps the whole parse at
/// n log n.
class Parser
{
public:
    Parser(TLang_CompTranslations& set, bool headerOnly)
        : m_set(set)
        , m_headerOnly(headerOnly)
        , m_constants(set.constants())
        , m_added(set.addedTexts())
    { }

    /// Puts every entry read so far into the set; also after an error, so that the set holds
    /// the lines before it.
    void finish()
    {
        m_constants.commitTo(m_set.constants());
        m_added.commitTo(m_set.addedTexts());
        for (auto& [index, batch] : m_forms)
            batch.commitTo(m_set.formForWriting(m_set.forms()[index].name()));
        m_forms.clear();
    }

    /// False when a header-only read has reached the sections.
    bool line(std::u32string_view raw)
    {
        const std::u32string_view text = trimmed(raw);
        if (text.empty() || text.front() == U';')
            return true;
        if (text.front() == U'[') {
            if (m_headerOnly)
                return false;
            if (text.size() > 2 && text.back() == U']')
                openSection(toKey(trimmed(text.substr(1, text.size() - 2))));
            return true;
        }
        const std::size_t equals = text.find(U'=');
        if (equals == std::u32string_view::npos)
            return true;
        const std::string key = toKey(trimmed(text.substr(0, equals)));
        if (key.empty())
            return true;
        entry(key, trimmed(text.substr(equals + 1)));
        return true;
    }

private:
    enum class Kind { Header, Constants, Added, Form };

    void openSection(const std::string& name)
    {
        if (equalNames(name, kConstantsSection)) {
            m_kind = Kind::Constants;
        } else if (equalNames(name, kAddedSection)) {
            m_kind = Kind::Added;
        } else {
            m_kind = Kind::Form;
            const TLang_CompTranslation& form = m_set.formForWriting(name);
            const std::size_t index = m_set.formIndex(name).value();
            m_form = &m_forms.try_emplace(index, form).first->second;
        }
    }

    void entry(const std::string& key, std::u32string_view value)
    {
        switch (m_kind) {
        case Kind::Header:
            m_set.setHeader(key, toKey(value));
            break;
        case Kind::Constants: {
            std::u32string text = unescapeText(value);
            checkNameText(key, text);
            m_constants.add(key, std::move(text));
            break;
        }
        case Kind::Added:
            m_added.add(key, unescapeText(value));
            break;
        case Kind::Form:
            if (const auto id = parseDecimalId(key); id && *id > 0)
                m_form->add(*id, unescapeText(value));
            break;
        }
    }

    TLang_CompTranslations& m_set;
    bool m_headerOnly;
    Kind m_kind = Kind::Header;
    TLang_Constants::Batch m_constants;
    TLang_Constants::Batch m_added;
    /// By position in the set's forms, which stays put while the vector grows.
    std::unordered_map<std::size_t, TLang_CompTranslation::Batch> m_forms;
    TLang_CompTranslation::Batch* m_form = nullptr;
};

} // namespace

void TLang_CompTranslation::add(std::int32_t id, std::u32string text)
{
    const auto pos = std::ranges::lower_bound(m_items, id, {}, &TLang_PropValueTranslation::id);
    if (pos != m_items.end() && pos->id == id)
        throwDuplicateId(id);
    m_items.insert(pos, { id, std::move(text) });
}

TLang_CompTranslation::Batch::Batch(const TLang_CompTranslation& form)
{
    m_taken.reserve(form.items().size());
    for (const TLang_PropValueTranslation& item : form.items())
        m_taken.insert(item.id);
}

void TLang_CompTranslation::Batch::add(std::int32_t id, std::u32string text)
{
    const bool rising = m_taken.empty() && (m_items.empty() || m_items.back().id < id);
    if (!rising) {
        if (m_taken.empty()) {
            for (const TLang_PropValueTranslation& item : m_items)
                m_taken.insert(item.id);
        }
        if (!m_taken.insert(id).second)
            throwDuplicateId(id);
    }
    m_items.push_back({ id, std::move(text) });
}

void TLang_CompTranslation::Batch::commitTo(TLang_CompTranslation& form)
{
    std::vector<TLang_PropValueTranslation>& items = form.m_items;
    const auto held = static_cast<std::ptrdiff_t>(items.size());
    items.insert(items.end(), std::make_move_iterator(m_items.begin()),
        std::make_move_iterator(m_items.end()));
    m_items.clear();
    std::sort(items.begin() + held, items.end(), idBefore);
    std::inplace_merge(items.begin(), items.begin() + held, items.end(), idBefore);
}

const std::u32string* TLang_CompTranslation::find(std::int32_t id) const
{
    const auto pos = std::ranges::lower_bound(m_items, id, {}, &TLang_PropValueTranslation::id);
    return pos != m_items.end() && pos->id == id ? &pos->text : nullptr;
}

std::optional<std::string> TLang_CompTranslations::header(std::string_view key) const
{
    const auto pos = m_header.find(TLang_Constants::foldedName(key));
    return pos != m_header.end() ? std::optional(pos->second) : std::nullopt;
}

void TLang_CompTranslations::setHeader(std::string_view key, std::string value)
{
    std::string folded = TLang_Constants::foldedName(key);
    if (value.empty())
        m_header.erase(folded);
    else
        m_header.insert_or_assign(std::move(folded), std::move(value));
}

std::uint16_t TLang_CompTranslations::langId() const
{
    const auto value = header("LANGID");
    if (!value || value->empty())
        return 0;
    // A signed decimal number, as a person writes it; anything else is no LANGID.
    std::string_view digits(*value);
    const bool negative = digits.front() == '-';
    if (negative || digits.front() == '+')
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 10
        || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    std::int64_t number = 0;
    for (const char c : digits)
        number = number * 10 + (c - '0');
    if (negative)
        number = -number;
    if (number > std::numeric_limits<std::int32_t>::max()
        || number < std::numeric_limits<std::int32_t>::min())
        return 0;
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(number) & 0xFFFFU);
}

std::optional<std::size_t> TLang_CompTranslations::formIndex(std::string_view formName) const
{
    const auto pos = m_formIndex.find(TLang_Constants::foldedName(formName));
    return pos != m_formIndex.end() ? std::optional(pos->second) : std::nullopt;
}

const TLang_CompTranslation* TLang_CompTranslations::form(std::string_view formName) const
{
    const auto index = formIndex(formName);
    return index ? &m_forms[*index] : nullptr;
}

TLang_CompTranslation& TLang_CompTranslations::formForWriting(std::string_view formName)
{
    const auto [pos, added]
        = m_formIndex.try_emplace(TLang_Constants::foldedName(formName), m_forms.size());
    if (!added)
        return m_forms[pos->second];
    return m_forms.emplace_back(std::string(formName));
}

void parseLanguageText(std::u32string_view text, TLang_CompTranslations& set, bool headerOnly)
{
    if (const std::size_t nul = text.find(U'\0'); nul != std::u32string_view::npos)
        text = text.substr(0, nul);
    Parser parser(set, headerOnly);
    std::size_t lineNo = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(U"\r\n");
        const std::u32string_view line = text.substr(0, end);
        try {
            if (!parser.line(line))
                break;
        } catch (const std::exception& e) {
            parser.finish();
            throw ELangError(
                "Loading translations failed.\r\nLine " + std::to_string(lineNo) + ": " + e.what());
        }
        if (end == std::u32string_view::npos)
            break;
        const bool pair = text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n';
        text.remove_prefix(end + (pair ? 2 : 1));
        ++lineNo;
    }
    parser.finish();
}

TLang_CompTranslations readLanguageFile(const std::string& path, bool headerOnly)
{
    const auto bytes = platform::readFileContent(path, kMaxFileBytes);
    if (!bytes)
        throw ELangError("Cannot read the language file " + path + ": " + bytes.error().text());
    TLang_CompTranslations set;
    parseLanguageText(platform::decodeTextFile(bytes.value()), set, headerOnly);
    return set;
}

std::u32string unescapeText(std::u32string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        const char32_t next = i + 1 < text.size() ? text[i + 1] : U'\0';
        const bool escape = c == U'\\';
        if (escape && next == U'\\') {
            out.push_back(U'\\');
            ++i;
        } else if (escape && next == U'n') {
            out += U"\r\n";
            ++i;
        } else if (escape && next == U't') {
            out.push_back(U'\t');
            ++i;
        } else if (escape && isDigit(next) && i + 2 < text.size() && isDigit(text[i + 2])) {
            out.push_back((next - U'0') * 10 + (text[i + 2] - U'0'));
            i += 2;
        } else {
            // Any other character, and a backslash that starts no escape, stand as written.
            out.push_back(c);
        }
    }
    return out;
}

std::u32string escapeText(std::u32string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            // CR LF, LF CR or either alone is one line break.
            const char32_t partner = c == U'\r' ? U'\n' : U'\r';
            if (i + 1 < text.size() && text[i + 1] == partner)
                ++i;
            out += U"\\n";
        } else if (c == U'\t') {
            out += U"\\t";
        } else if (c == U'\\') {
            out += U"\\\\";
        } else if (c < 32 || (c == U' ' && (i == 0 || i + 1 == text.size()))) {
            out.push_back(U'\\');
            out.push_back(U'0' + c / 10);
            out.push_back(U'0' + c % 10);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::optional<std::int32_t> parseDecimalId(std::string_view key)
{
    if (key.empty())
        return std::nullopt;
    std::int64_t number = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
        if (number > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

} // namespace quorvane::lang
