// The listing's preview window: the text in the listing font, "Chiudi" and "Stampa".
#pragma once

#include <QDialog>

#include <functional>
#include <string_view>

class QFont;
class QPlainTextEdit;
class QPushButton;

namespace quorvane::app {

/// Shows a listing as the printer would get it, in the listing font, scrolling both ways.
/// Typing in it changes nothing that is printed: "Stampa" builds the listing again.
class TAnteprima : public QDialog
{
    Q_OBJECT
public:
    /// `print` runs the print command (print dialog, then the listing); it returns true
    /// when the print dialog was confirmed, and then the preview closes (Accepted).
    TAnteprima(const QFont& font, std::function<bool()> print, QWidget* parent = nullptr);

    /// Appends a piece of the listing; its lines end with CR LF.
    void appendListing(std::u32string_view text);

    void BitBtn1Click(); ///< "Stampa"

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn1 = nullptr; ///< "Stampa"
    QPushButton* OKBtn = nullptr; ///< "Chiudi"

private:
    std::function<bool()> m_print;
    bool m_started = false;
};

} // namespace quorvane::app
