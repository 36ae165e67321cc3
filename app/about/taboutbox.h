// The About box: product, version and build, the maker's links and the thanks.
#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace quorvane::app {
class DialogHost;
}

namespace quorvane::about {

class LinkLabel;

/// The left edge of the version line under the logo: the logo's width halved, minus the
/// line's width halved, plus the icon's width, plus 25 (halves round towards zero). With the
/// box's widths the line's centre lies 15 pixels right of the logo's.
[[nodiscard]] int verLeft(int logoWidth, int verWidth, int iconWidth);

/// The About box (object name "AboutBox"). Its version line and caption are set when it is
/// shown, after any translation of the form, because they name the program in every language.
/// The links open through QDesktopServices; a failure to open one is not reported.
class TAboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildHeader(QWidget* panel);
    void FormShow();
    void Label5Click();
    void Label1Click();

    QWidget* m_header = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* ver = nullptr;
    LinkLabel* Label5 = nullptr;
    LinkLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;
};

/// The mail to the program's maker: MAIL_LINK with the program's version for its subject
/// and its body. The About box and the first exit of a version both offer it.
[[nodiscard]] QUrl makerMailLink();

/// What the main window's About1Click and BitBtn2Click do: a new box owned by `parent`,
/// shown modally through `dialogs`, released when it closes.
void showAboutBox(QWidget* parent, app::DialogHost& dialogs);

} // namespace quorvane::about
