// The process environment and working directory changed for one scope, then put back.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvane::test {

/// Sets `name` to `value` (unsets it when `value` is null) and restores the old state.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ScopedEnv(const char* name, const std::string& value)
        : ScopedEnv(name, value.c_str())
    { }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

/// Makes `directory` the working directory for its lifetime.
class ScopedCurrentDirectory
{
public:
    explicit ScopedCurrentDirectory(const std::string& directory)
        : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~ScopedCurrentDirectory()
    {
        std::error_code ec;
        std::filesystem::current_path(m_old, ec);
    }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::filesystem::path m_old;
};

} // namespace quorvane::test
