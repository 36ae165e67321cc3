// The process-wide localisation manager: constants, the language list and switching.
#include "language_manager.h"

#include "added_texts.h"
#include "constants_resource.h"
#include "lang_error.h"
#include "lang_ids.h"

#include "platform/file_content.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace quorvane::lang {

namespace {

void restoreDefaults(TLang_Constants& table)
{
    for (const TLang_Constant& item : table.items())
        table.find(item.name).text = item.defaultText;
}

void applyTexts(TLang_Constants& table, const TLang_Constants& translated)
{
    for (const TLang_Constant& item : translated.items()) {
        if (TLang_Constant* constant = table.findOrNull(item.name))
            constant->text = item.text;
    }
}

} // namespace

TLanguageManager::TLanguageManager(std::span<const std::uint8_t> constantsResource)
{
    // No resource means no built-in texts: the table stays empty and every lookup fails
    // with the table's own message.
    if (!constantsResource.empty())
        loadConstantsResource(constantsResource, m_constants);
    loadAddedTexts(m_added);
}

std::u32string TLanguageManager::lookupConstant(std::string_view name) const
{
    const SharedHold hold(m_lock);
    return m_constants.find(name).text;
}

std::u32string TLanguageManager::lookupAdded(std::string_view name) const
{
    const SharedHold hold(m_lock);
    return m_added.find(name).text;
}

void TLanguageManager::SetBaseLanguage(std::uint16_t langId)
{
    const ExclusiveHold hold(m_lock);
    m_baseLanguage = langId;
}

std::uint16_t TLanguageManager::BaseLanguage() const
{
    const SharedHold hold(m_lock);
    return m_baseLanguage;
}

std::uint16_t TLanguageManager::CurrentLanguage() const
{
    const SharedHold hold(m_lock);
    return m_currentLanguage;
}

int TLanguageManager::FindLanguageFiles(const platform::FileSystem& fs, const std::string& folder,
    std::u32string_view mask, bool recurse)
{
    std::string dir = folder;
    if (!dir.ends_with('/'))
        dir += '/';
    auto listing = fs.listDirectory(dir, platform::Detail::KindOnly);
    if (!listing)
        return 0;
    std::vector<platform::DirEntry> entries = std::move(listing.value());
    std::ranges::sort(entries, {}, &platform::DirEntry::name);
    int accepted = 0;
    for (const platform::DirEntry& entry : entries) {
        if (!platform::matchesMask(platform::decodeName(entry.name), mask))
            continue;
        platform::EntryKind kind = entry.kind;
        if (kind == platform::EntryKind::Symlink) {
            const auto target = fs.status(dir + entry.name, platform::Links::Follow);
            kind = target ? target.value().kind : platform::EntryKind::Other;
            // A link is read as the file it names, but never followed into a directory.
            if (kind == platform::EntryKind::Directory)
                continue;
        }
        if (kind == platform::EntryKind::Directory) {
            if (recurse && !entry.name.starts_with('.'))
                accepted += FindLanguageFiles(fs, dir + entry.name, mask, recurse);
        } else if (kind == platform::EntryKind::File) {
            if (AddLanguageFile(dir + entry.name))
                ++accepted;
        }
    }
    return accepted;
}

bool TLanguageManager::AddLanguageFile(const std::string& path)
{
    const ExclusiveHold hold(m_lock);
    TLang_CompTranslations header;
    try {
        header = readLanguageFile(path, true);
    } catch (const ELangError&) {
        // A missing file is no language; one that exists but cannot be read is an error.
        const auto probe = platform::readFileContent(path, 0);
        if (!probe && probe.error().code == ENOENT)
            return false;
        throw;
    }
    const std::uint16_t langId = header.langId();
    if (langId == 0)
        return false;
    if (langId != m_baseLanguage) {
        const auto known = std::ranges::find(m_languages, langId, &TLang_LangResource::langId);
        if (known != m_languages.end())
            known->path = path;
        else
            m_languages.push_back({ langId, path });
    }
    return true;
}

int TLanguageManager::CountLanguages() const
{
    const SharedHold hold(m_lock);
    return 1 + static_cast<int>(m_languages.size());
}

std::uint16_t TLanguageManager::LanguageIdAt(int index) const
{
    const SharedHold hold(m_lock);
    if (index == 0)
        return m_baseLanguage;
    if (index < 0 || index > static_cast<int>(m_languages.size()))
        throw std::out_of_range("language index " + std::to_string(index) + " out of range");
    return m_languages[static_cast<std::size_t>(index - 1)].langId;
}

std::u32string TLanguageManager::LanguageTitleAt(int index) const
{
    const SharedHold hold(m_lock);
    const std::uint16_t langId = LanguageIdAt(index);
    std::u32string title;
    if (m_namer)
        title = m_namer(langId);
    if (title.empty())
        title = platform::decodeName(englishLanguageNameOf(langId));
    if (title.empty())
        title = platform::decodeName("LANGID " + std::to_string(langId));
    return title.substr(0, 255);
}

void TLanguageManager::setLanguageNamer(std::function<std::u32string(std::uint16_t)> namer)
{
    const ExclusiveHold hold(m_lock);
    m_namer = std::move(namer);
}

std::unique_ptr<TLang_CompTranslations> TLanguageManager::LoadTranslationSet(
    std::uint16_t langId) const
{
    const SharedHold hold(m_lock);
    if (langId == m_baseLanguage)
        return nullptr;
    const auto known = std::ranges::find(m_languages, langId, &TLang_LangResource::langId);
    if (known == m_languages.end())
        return nullptr;
    return std::make_unique<TLang_CompTranslations>(readLanguageFile(known->path, false));
}

void TLanguageManager::SwitchLanguage(std::uint16_t langId)
{
    std::unique_ptr<TLang_CompTranslations> set;
    std::uint16_t old = 0;
    {
        const ExclusiveHold hold(m_lock);
        set = LoadTranslationSet(langId);
        if (!set)
            langId = m_baseLanguage;
        old = m_currentLanguage;
        m_currentLanguage = langId;
    }
    if (langId != old)
        ApplyTranslationSet(set.get());
}

void TLanguageManager::ApplyTranslationSet(const TLang_CompTranslations* set)
{
    const SharedHold hold(m_lock);
    if (set == nullptr) {
        restoreDefaults(m_constants);
        restoreDefaults(m_added);
    } else {
        applyTexts(m_constants, set->constants());
        applyTexts(m_added, set->addedTexts());
    }
    for (LangTranslatable* form : m_forms)
        form->applyTranslation(set != nullptr ? set->form(form->formName()) : nullptr);
}

void TLanguageManager::AttachController(LangTranslatable* form)
{
    const ExclusiveHold hold(m_lock);
    if (std::ranges::find(m_forms, form) == m_forms.end())
        m_forms.push_back(form);
}

void TLanguageManager::DetachController(LangTranslatable* form)
{
    const ExclusiveHold hold(m_lock);
    std::erase(m_forms, form);
}

void TLanguageManager::TranslateNewForm(LangTranslatable& form) const
{
    const SharedHold hold(m_lock);
    if (m_currentLanguage == m_baseLanguage)
        return;
    const auto set = LoadTranslationSet(m_currentLanguage);
    if (set)
        form.applyTranslation(set->form(form.formName()));
}

TLanguageManager& LangManager()
{
    // A function-local static: created on first use, once, even if two threads race.
    static TLanguageManager manager(findResource("LANG_CONSTS"));
    return manager;
}

std::u32string LookupConstant(std::string_view name)
{
    return LangManager().lookupConstant(name);
}

} // namespace quorvane::lang
