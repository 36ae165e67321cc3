// Local calendar time of a file time, and its text in the user's LC_TIME locale.
#include "locale_time.h"

#include <array>
#include <clocale> // newlocale, strftime_l: POSIX, declared by glibc's <locale.h>
#include <ctime>

namespace quorvane::platform {

namespace {

std::tm toTm(const LocalDateTime& time)
{
    std::tm tm = {};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    // strftime's %x may name the weekday in some locales; timegm fills it in without
    // touching the fields (they are already normalised).
    std::tm copy = tm;
    const time_t seconds = ::timegm(&copy);
    if (seconds != static_cast<time_t>(-1)) {
        tm.tm_wday = copy.tm_wday;
        tm.tm_yday = copy.tm_yday;
    }
    tm.tm_isdst = -1;
    return tm;
}

} // namespace

LocalDateTime localDateTime(std::int64_t nanoseconds)
{
    // Floor division: a moment just before the epoch belongs to the second before it.
    std::int64_t seconds = nanoseconds / 1'000'000'000;
    if (nanoseconds % 1'000'000'000 < 0)
        --seconds;
    const auto clock = static_cast<time_t>(seconds);
    std::tm tm = {};
    if (::localtime_r(&clock, &tm) == nullptr)
        return {};
    return { tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec };
}

struct LocaleTimeFormat::Impl
{
    locale_t locale = nullptr;
};

LocaleTimeFormat::LocaleTimeFormat(const std::string& localeName)
    : m_impl(std::make_unique<Impl>())
{
    // A locale object of our own: the process's global locale (which Qt sets as it starts)
    // is left alone, and a missing locale is no reason to fail.
    m_impl->locale = ::newlocale(LC_TIME_MASK, localeName.c_str(), nullptr);
    if (m_impl->locale == nullptr)
        m_impl->locale = ::newlocale(LC_TIME_MASK, "C", nullptr);
}

LocaleTimeFormat::~LocaleTimeFormat()
{
    if (m_impl->locale != nullptr)
        ::freelocale(m_impl->locale);
}

std::string LocaleTimeFormat::shortDate(const LocalDateTime& time) const
{
    return format("%x", time);
}

std::string LocaleTimeFormat::longTime(const LocalDateTime& time) const
{
    return format("%X", time);
}

std::string LocaleTimeFormat::format(const char* pattern, const LocalDateTime& time) const
{
    const std::tm tm = toTm(time);
    std::array<char, 128> buffer {};
    std::size_t length = 0;
    if (m_impl->locale != nullptr)
        length = ::strftime_l(buffer.data(), buffer.size(), pattern, &tm, m_impl->locale);
    else
        length = ::strftime(buffer.data(), buffer.size(), pattern, &tm);
    return { buffer.data(), length };
}

} // namespace quorvane::platform
