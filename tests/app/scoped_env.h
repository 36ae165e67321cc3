// The process environment changed for one test and put back afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvane::test {

/// Sets one environment variable for its lifetime; the old value (or its absence) returns.
class ScopedEnv
{
public:
    ScopedEnv(std::string name, const std::string& value)
        : m_name(std::move(name))
    {
        if (const char* old = std::getenv(m_name.c_str()))
            m_old = old;
        ::setenv(m_name.c_str(), value.c_str(), 1);
    }
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
