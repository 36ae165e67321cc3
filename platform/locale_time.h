// Local calendar time of a file time, and its text in the user's LC_TIME locale.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quorvane::platform {

/// A moment as the local clock shows it (the process's time zone, TZ).
struct LocalDateTime
{
    int year = 1970;
    int month = 1; ///< 1-12
    int day = 1; ///< 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// The local date and time of a moment given in nanoseconds since the Unix epoch; the
/// fraction of the second is dropped. Out-of-range moments give the epoch.
[[nodiscard]] LocalDateTime localDateTime(std::int64_t nanoseconds);

/// Writes dates and times as a locale's LC_TIME category says (strftime's %x and %X).
class LocaleTimeFormat
{
public:
    /// An empty name takes the user's locale from the environment (LC_ALL, LC_TIME, LANG);
    /// a locale that is not installed falls back to "C".
    explicit LocaleTimeFormat(const std::string& localeName = {});
    ~LocaleTimeFormat();
    LocaleTimeFormat(const LocaleTimeFormat&) = delete;
    LocaleTimeFormat& operator=(const LocaleTimeFormat&) = delete;

    /// The locale's date format, e.g. "07/12/2026" in it_IT. UTF-8 (a locale in another
    /// character set gives its own bytes, which the caller decodes).
    [[nodiscard]] std::string shortDate(const LocalDateTime& time) const;
    /// The locale's time format, e.g. "09:05:03" in it_IT.
    [[nodiscard]] std::string longTime(const LocalDateTime& time) const;

private:
    [[nodiscard]] std::string format(const char* pattern, const LocalDateTime& time) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace quorvane::platform
