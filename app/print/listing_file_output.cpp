// The listing as a text file: UTF-8 with CR LF line ends, put in place only when complete.
#include "listing_file_output.h"

#include "platform/name_codec.h"

#include <QFile>

#include <string>
#include <utility>

namespace quorvane::app {

ListingFileOutput::ListingFileOutput(QString path)
    : m_path(std::move(path))
{ }

bool ListingFileOutput::check(const platform::Status& status)
{
    if (status.ok())
        return true;
    if (m_error.isEmpty())
        m_error = QString::fromStdString(status.error().text());
    return false;
}

bool ListingFileOutput::open()
{
    return check(m_file.open(QFile::encodeName(m_path).toStdString()));
}

void ListingFileOutput::write(std::u32string_view text)
{
    // The listing carries its own CR LF; nothing here rewrites line ends.
    (void)check(m_file.write(platform::toDisplayUtf8(text)));
}

bool ListingFileOutput::commit()
{
    return check(m_file.commit());
}

} // namespace quorvane::app
