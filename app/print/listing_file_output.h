// The listing as a text file: UTF-8 with CR LF line ends, put in place only when complete.
#pragma once

#include "platform/atomic_file.h"

#include <QString>

#include <string_view>

namespace quorvane::app {

/// Writes into a temporary file beside the target and renames it over the target on
/// commit(), so the target is either the old file or the whole new listing, never a part.
/// Dropping the output without commit() (a failure on the way) leaves no trace.
class ListingFileOutput
{
public:
    explicit ListingFileOutput(QString path);

    /// Creates the temporary file; false with errorString() when it cannot.
    [[nodiscard]] bool open();
    /// Appends a piece of the listing as UTF-8 (undecodable name bytes as U+FFFD). A failed
    /// write is remembered and makes commit() fail.
    void write(std::u32string_view text);
    /// Renames the finished file over the target; false with errorString() when a write or
    /// the rename failed, and then the target is as it was.
    [[nodiscard]] bool commit();
    [[nodiscard]] QString errorString() const { return m_error; }

private:
    bool check(const platform::Status& status);

    QString m_path;
    platform::AtomicFile m_file;
    QString m_error;
};

} // namespace quorvane::app
