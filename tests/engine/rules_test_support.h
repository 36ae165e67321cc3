// Shared pieces of the name-rule tests: a temporary constant text and escaped bytes.
#pragma once

#include "lang/language_manager.h"
#include "lang/reentrant_rw_lock.h"
#include "platform/name_codec.h"

#include <string>
#include <string_view>
#include <utility>

namespace quorvane::engine::test {

/// Puts another text in force for one constant for the scope, as a language switch would.
class ConstantTextOverride
{
public:
    ConstantTextOverride(std::string_view name, std::u32string text)
        : m_name(name)
    {
        lang::ExclusiveHold hold(lang::LangManager().lock());
        std::u32string& current = lang::LangManager().constants().find(m_name).text;
        m_saved = std::exchange(current, std::move(text));
    }
    ~ConstantTextOverride()
    {
        lang::ExclusiveHold hold(lang::LangManager().lock());
        lang::LangManager().constants().find(m_name).text = m_saved;
    }
    ConstantTextOverride(const ConstantTextOverride&) = delete;
    ConstantTextOverride& operator=(const ConstantTextOverride&) = delete;

private:
    std::string m_name;
    std::u32string m_saved;
};

/// The code point that carries an undecodable byte of a file name.
[[nodiscard]] inline std::u32string escapedByte(unsigned char byte)
{
    return { static_cast<char32_t>(platform::kEscapeBase + byte) };
}

} // namespace quorvane::engine::test
