// The process-wide localisation manager and the lookup of constants by name.
#include "language_manager.h"

#include "constants_resource.h"

namespace quorvane::lang {

TLanguageManager::TLanguageManager(std::span<const std::uint8_t> constantsResource)
{
    // No resource means no built-in texts: the table stays empty and every lookup fails
    // with the table's own message.
    if (!constantsResource.empty())
        loadConstantsResource(constantsResource, m_constants);
}

std::u32string TLanguageManager::lookupConstant(std::string_view name) const
{
    const SharedHold hold(m_lock);
    return m_constants.find(name).text;
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
