// The one seam through which the window opens its modal dialogs.
#pragma once

#include <QDesktopServices>
#include <QDialog>
#include <QUrl>

namespace quorvane::app {

/// Shows modal dialogs. Tests replace it to look at a dialog and close it without a human.
class DialogHost
{
public:
    virtual ~DialogHost() = default;
    /// Shows the dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog& dialog) { return dialog.exec(); }
    /// Hands a link to the desktop: a web page to show, a mail to compose. Tests record it
    /// instead of starting another program.
    virtual bool openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }
};

} // namespace quorvane::app
