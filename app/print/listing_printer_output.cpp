// The listing on a printer (or a PDF file): one line under the other, pages as they fill.
#include "listing_printer_output.h"

#include "app/qt_text.h"

#include <QFontMetricsF>
#include <QPrinter>

namespace quorvane::app {

ListingPrinterOutput::ListingPrinterOutput(QPrinter& printer, const QFont& font)
    : m_printer(printer)
    , m_font(font)
{ }

bool ListingPrinterOutput::open()
{
    m_printer.setDocName(QStringLiteral("Quorvane"));
    if (!m_painter.begin(&m_printer))
        return false;
    m_painter.setFont(m_font);
    // Metrics of the printer, not of the screen: the font's size is in points.
    const QFontMetricsF metrics(m_painter.font(), &m_printer);
    m_lineHeight = metrics.lineSpacing();
    m_ascent = metrics.ascent();
    m_pageHeight = m_printer.height();
    m_y = 0;
    m_pages = 1;
    return true;
}

void ListingPrinterOutput::write(std::u32string_view text)
{
    m_pending += toDisplay(text);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = m_pending.indexOf(QStringLiteral("\r\n"), start);
        if (end < 0)
            break;
        drawLine(m_pending.mid(start, end - start));
        start = end + 2;
    }
    m_pending.remove(0, start);
}

void ListingPrinterOutput::drawLine(const QString& line)
{
    if (m_y > 0 && m_y + m_lineHeight > m_pageHeight) {
        m_printer.newPage();
        ++m_pages;
        m_y = 0;
    }
    if (!line.isEmpty())
        m_painter.drawText(QPointF(0, m_y + m_ascent), line);
    m_y += m_lineHeight;
}

bool ListingPrinterOutput::close()
{
    if (!m_pending.isEmpty()) {
        drawLine(m_pending);
        m_pending.clear();
    }
    const bool ended = m_painter.end();
    return ended && m_printer.printerState() != QPrinter::Error;
}

} // namespace quorvane::app
