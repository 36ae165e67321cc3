// The one seam through which the window opens its modal dialogs.
#pragma once

#include <QDialog>

namespace quorvane::app {

/// Shows modal dialogs. Tests replace it to look at a dialog and close it without a human.
class DialogHost
{
public:
    virtual ~DialogHost() = default;
    /// Shows the dialog modally; returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog& dialog) { return dialog.exec(); }
};

} // namespace quorvane::app
