// Windows as wide as their titles: a window manager cuts the title a window cannot hold.
#include "title_fitter.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace quorvane::app {

int titleBarWidth(const QWidget& window)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // Icon, minimise, maximise and close: about a square of the bar's height each.
    const int controls = 4 * (metrics.height() + 12);
    return metrics.horizontalAdvance(window.windowTitle()) + controls;
}

void fitTitle(QWidget& window)
{
    if (window.windowTitle().isEmpty())
        return;
    const int needed = titleBarWidth(window);
    if (window.width() >= needed)
        return;
    // A layout that sets the window's minimum size itself would take the width back at its
    // next activation; the default constraint keeps a minimum the window was given.
    if (QLayout* layout = window.layout()) {
        const QLayout::SizeConstraint constraint = layout->sizeConstraint();
        if (constraint == QLayout::SetFixedSize) {
            layout->setSizeConstraint(QLayout::SetDefaultConstraint);
            window.setFixedHeight(window.height());
        } else if (constraint == QLayout::SetMinimumSize
            || constraint == QLayout::SetMinAndMaxSize) {
            layout->setSizeConstraint(QLayout::SetDefaultConstraint);
            window.setMinimumHeight(window.height());
        }
    }
    if (window.maximumWidth() < needed)
        window.setMaximumWidth(needed);
    if (window.minimumWidth() < needed)
        window.setMinimumWidth(needed);
    if (window.width() < needed)
        window.resize(needed, window.height());
}

bool TitleFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            fitTitle(*widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane::app
