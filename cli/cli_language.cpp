// quorvane-cli --language: the texts of a language file for the rules and messages.
#include "cli_language.h"

#include "lang/lang_error.h"
#include "lang/lang_file.h"
#include "lang/language_manager.h"

#include <string_view>

namespace quorvane::cli {

namespace {

/// The parser's errors name the line on a line of their own; a shell error is one line.
std::string oneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            continue;
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

} // namespace

std::string useLanguageFile(const std::string& path)
{
    try {
        const lang::TLang_CompTranslations set = lang::readLanguageFile(path, false);
        // The window would not list such a file either: without a LANGID it is no language.
        if (set.langId() == 0)
            return "--language: " + path + " is not a language file (it has no LANGID)";
        lang::LangManager().ApplyTranslationSet(&set);
    } catch (const lang::ELangError& e) {
        return "--language: " + oneLine(e.what());
    }
    return {};
}

} // namespace quorvane::cli
