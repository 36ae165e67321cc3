// The text of the settings file.
#include "settings_text.h"

#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace quorvane::app {

namespace {

const QString kGeneral = QStringLiteral("General");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool isOctalDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'7';
}

/// The control characters that have an escape letter of their own ("\n" ...), with it.
constexpr std::pair<char16_t, char16_t> kLetterEscapes[] = { { u'\a', u'a' }, { u'\b', u'b' },
    { u'\f', u'f' }, { u'\n', u'n' }, { u'\r', u'r' }, { u'\t', u't' }, { u'\v', u'v' } };

/// The letter of a control character's own escape, 0 when it has none.
char letterEscape(char16_t c)
{
    const auto* found = std::ranges::find(kLetterEscapes, c, &std::pair<char16_t, char16_t>::first);
    return found == std::end(kLetterEscapes) ? '\0' : static_cast<char>(found->second);
}

char16_t escapedLetter(char16_t letter)
{
    const auto* found = std::ranges::find_if(
        kLetterEscapes, [letter](const auto& escape) { return escape.second == letter; });
    // \\ \" \' \? and any other character stand for themselves.
    return found == std::end(kLetterEscapes) ? letter : found->first;
}

/// A surrogate that is not half of a pair: the carried byte of an undecodable name.
bool isLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

QString normalSection(const QString& section)
{
    return section.isEmpty() ? kGeneral : section;
}

} // namespace

QString decodeSettingsValue(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = text.startsWith(u"@@") ? 1 : 0;
    while (i < text.size()) {
        const QChar c = text[i++];
        if (c == QLatin1Char('"'))
            continue;
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (i == text.size())
            break;
        const QChar e = text[i++];
        if (e == QLatin1Char('x')) {
            // As many hex digits as follow, the last four of them counting.
            unsigned value = 0;
            bool any = false;
            for (; i < text.size() && hexDigit(text[i]) >= 0; ++i, any = true)
                value = ((value << 4U) | static_cast<unsigned>(hexDigit(text[i]))) & 0xFFFFU;
            if (any)
                out += QChar(static_cast<char16_t>(value));
        } else if (isOctalDigit(e)) {
            unsigned value = e.unicode() - u'0';
            for (; i < text.size() && isOctalDigit(text[i]); ++i)
                value = ((value << 3U) | (text[i].unicode() - u'0')) & 0xFFFFU;
            out += QChar(static_cast<char16_t>(value));
        } else {
            out += QChar(escapedLetter(e.unicode()));
        }
    }
    return out;
}

QString encodeSettingsValue(QStringView value)
{
    const bool quoted = (!value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())))
        || value.contains(QLatin1Char(',')) || value.contains(QLatin1Char(';'))
        || value.contains(QLatin1Char('='));
    QString out;
    out.reserve(value.size() + 2);
    // "@@" before the quote: it is read off the spelled text before the quotes are.
    if (value.startsWith(QLatin1Char('@')))
        out += QLatin1Char('@');
    if (quoted)
        out += QLatin1Char('"');
    bool afterHex = false; // a hex digit right after \x.. would join it
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        const bool hexEscape = (c < 0x20 && letterEscape(c) == 0) || isLoneSurrogate(value, i)
            || (afterHex && hexDigit(value[i]) >= 0);
        afterHex = false;
        if (hexEscape) {
            out += QStringLiteral("\\x") + QString::number(c, 16);
            afterHex = true;
        } else if (const char letter = letterEscape(c); letter != 0) {
            out += QLatin1Char('\\');
            out += QLatin1Char(letter);
        } else if (c == u'\\' || c == u'"') {
            out += QLatin1Char('\\');
            out += value[i];
        } else {
            out += value[i];
        }
    }
    if (quoted)
        out += QLatin1Char('"');
    return out;
}

std::optional<SettingsText> SettingsText::parse(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    SettingsText result;
    QString section = kGeneral;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        if (t.startsWith(QLatin1Char('['))) {
            const qsizetype end = t.indexOf(QLatin1Char(']'));
            if (end < 0)
                return std::nullopt;
            section = normalSection(t.sliced(1, end - 1).trimmed().toString());
            continue;
        }
        const qsizetype equals = t.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        // A key written twice: the later one counts, as it always has.
        result.set(section, t.first(equals).trimmed().toString(),
            t.sliced(equals + 1).trimmed().toString());
    }
    return result;
}

QByteArray SettingsText::serialize() const
{
    QString text;
    for (const Section& section : m_sections) {
        if (section.values.empty())
            continue;
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + section.name + QStringLiteral("]\n");
        for (const Value& value : section.values)
            text += value.key + QLatin1Char('=') + value.spelled + QLatin1Char('\n');
    }
    return text.toUtf8();
}

SettingsText::Section* SettingsText::find(const QString& section)
{
    const QString name = normalSection(section);
    const auto it = std::ranges::find(m_sections, name, &Section::name);
    return it != m_sections.end() ? &*it : nullptr;
}

const SettingsText::Section* SettingsText::find(const QString& section) const
{
    return const_cast<SettingsText*>(this)->find(section); // NOLINT: the same lookup
}

std::optional<QString> SettingsText::spelled(const QString& section, const QString& key) const
{
    const Section* s = find(section);
    if (s == nullptr)
        return std::nullopt;
    const auto it = std::ranges::find(s->values, key, &Value::key);
    if (it == s->values.end())
        return std::nullopt;
    return it->spelled;
}

void SettingsText::set(const QString& section, const QString& key, const QString& spelled)
{
    Section* s = find(section);
    if (s == nullptr)
        s = &m_sections.emplace_back(Section { normalSection(section), {} });
    const auto it = std::ranges::find(s->values, key, &Value::key);
    if (it != s->values.end())
        it->spelled = spelled;
    else
        s->values.push_back({ key, spelled });
}

void SettingsText::remove(const QString& section, const QString& key)
{
    if (Section* s = find(section))
        std::erase_if(s->values, [&](const Value& v) { return v.key == key; });
}

void SettingsText::removeSection(const QString& section)
{
    if (Section* s = find(section))
        s->values.clear();
}

bool SettingsText::holdsValues() const
{
    return std::ranges::any_of(m_sections, [](const Section& s) { return !s.values.empty(); });
}

} // namespace quorvane::app
