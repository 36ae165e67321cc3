// Windows as wide as their titles: a window manager cuts the title a window cannot hold.
#pragma once

#include <QObject>

class QWidget;

namespace quorvane::app {

/// The width `window` needs for its whole title in a title bar: the text in the title font
/// (bold, as title bars draw it) and room for the icon and the buttons beside it.
[[nodiscard]] int titleBarWidth(const QWidget& window);

/// Makes `window` at least as wide as its title needs; a window of fixed width grows too.
void fitTitle(QWidget& window);

/// Fits every window of the application to its title when the window is shown. The main
/// window installs one on the application, so that its dialogs and Qt's own follow.
class TitleFitter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace quorvane::app
