// Texts between the core (code points) and Qt (UTF-16), without losing a name's bytes.
#include "qt_text.h"

#include "lang/language_manager.h"

namespace quorvane::app {

namespace {

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

QString toQt(std::u32string_view text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char32_t c : text) {
        if (c < 0x10000) {
            out.append(QChar(static_cast<char16_t>(c)));
        } else {
            out.append(QChar(QChar::highSurrogate(c)));
            out.append(QChar(QChar::lowSurrogate(c)));
        }
    }
    return out;
}

std::u32string toCore(const QString& text)
{
    std::u32string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size()
            && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out.push_back(QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

QString toDisplay(std::u32string_view text)
{
    QString out = toQt(text);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t unit = out.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < out.size()
            && QChar::isLowSurrogate(out.at(i + 1).unicode())) {
            ++i;
        } else if (isSurrogate(unit)) {
            out[i] = QChar::ReplacementCharacter;
        }
    }
    return out;
}

QString constantText(lang::ConstantId id)
{
    return toDisplay(lang::LookupConstant(id));
}

} // namespace quorvane::app
