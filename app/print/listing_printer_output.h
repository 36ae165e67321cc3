// The listing on a printer (or a PDF file): one line under the other, pages as they fill.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>

#include <string_view>

class QPrinter;

namespace quorvane::app {

/// Draws each line of the listing with the listing font at the left edge of the printable
/// area, a line height apart, and starts a new page when the next line would not fit. Lines
/// are not wrapped; there are no headers, footers or page numbers.
class ListingPrinterOutput
{
public:
    /// The printer must outlive the output.
    ListingPrinterOutput(QPrinter& printer, const QFont& font);

    /// Starts the job; false when the printer refuses (no printer, an unwritable PDF file).
    [[nodiscard]] bool open();
    /// Draws a piece of the listing; its lines end with CR LF.
    void write(std::u32string_view text);
    /// Ends the job; false when the printer reported an error.
    [[nodiscard]] bool close();
    /// How many pages the job has so far.
    [[nodiscard]] int pages() const { return m_pages; }

private:
    void drawLine(const QString& line);

    QPrinter& m_printer;
    QFont m_font;
    QPainter m_painter;
    QString m_pending; ///< the start of a line whose CR LF has not come yet
    double m_y = 0;
    double m_lineHeight = 0;
    double m_ascent = 0;
    double m_pageHeight = 0;
    int m_pages = 0;
};

} // namespace quorvane::app
