// Every window in every shipped language, shown at the size it opens with: no caption wider
// than its control, no menu bar that folds its menus away, no Alt letter used twice in one
// menu. With QUORVANE_SCREENSHOT_DIR set, each window is also saved there as
// <language>-<window>.png for a person to look at.
#include "all_windows.h"
#include "lang/lang_ids.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <memory>

using namespace quorvane;

namespace {

struct Language
{
    const char* name;
    std::uint16_t langId;
};

constexpr Language kLanguages[] = { { "italian", lang::kLangItalian }, { "english", 1033 },
    { "german", 1031 }, { "french", 1036 }, { "spanish", 3082 } };

QString describe(const QWidget& widget, const QString& text, int needed)
{
    return QStringLiteral("%1 \"%2\": needs %3 px, has %4")
        .arg(widget.objectName(), text)
        .arg(needed)
        .arg(widget.width());
}

/// The captions of `window` that do not fit their controls as laid out now.
QStringList clippedTexts(const QWidget& window)
{
    QStringList clipped;
    const auto check = [&](const QWidget& widget, const QString& text, int needed) {
        if (widget.isVisibleTo(&window) && !text.isEmpty() && widget.width() < needed)
            clipped << describe(widget, text, needed);
    };
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (qobject_cast<const QPushButton*>(button) != nullptr
            || qobject_cast<const QCheckBox*>(button) != nullptr
            || qobject_cast<const QRadioButton*>(button) != nullptr)
            check(*button, button->text(), button->sizeHint().width());
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        // A wrapping label fits by growing downwards; an image has no text to lose.
        if (!label->wordWrap() && label->pixmap().isNull())
            check(*label, label->text(), label->sizeHint().width());
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        check(*box, box->title(), box->minimumSizeHint().width());
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>()) {
        // A bar too narrow for its menus hides the last ones behind an extension arrow.
        for (QAction* menu : bar->actions()) {
            if (bar->actionGeometry(menu).right() >= bar->width())
                clipped << describe(*bar, menu->text(), bar->actionGeometry(menu).right() + 1);
        }
    }
    return clipped;
}

/// The Alt letters used twice in one menu (or in the menu bar): Alt then reaches only one.
QStringList repeatedMnemonics(const QWidget& window)
{
    QStringList repeated;
    const auto check = [&](const QString& where, const QList<QAction*>& actions) {
        QMap<QChar, QString> seen;
        for (const QAction* action : actions) {
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (key.isEmpty())
                continue;
            const QChar letter = key.toString().back().toLower();
            if (seen.contains(letter))
                repeated << QStringLiteral("%1: \"%2\" and \"%3\"")
                                .arg(where, seen[letter], action->text());
            seen[letter] = action->text();
        }
    };
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
        check(QStringLiteral("menu bar"), bar->actions());
    for (const QMenu* menu : window.findChildren<QMenu*>())
        check(menu->objectName(), menu->actions());
    return repeated;
}

/// Shows the window as the program does and returns what does not fit; saves a picture
/// when asked to.
QStringList showAndCheck(QWidget& window, const char* language, const char* name)
{
    window.show();
    QCoreApplication::processEvents();
    const QByteArray dir = qgetenv("QUORVANE_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        window.grab().save(
            QStringLiteral("%1/%2-%3.png")
                .arg(QString::fromLocal8Bit(dir), QLatin1String(language), QLatin1String(name)));
    }
    QStringList clipped = clippedTexts(window) + repeatedMnemonics(window);
    // A title bar needs the title in bold and about 100 pixels for the icon and buttons.
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int titleNeeds = QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + 100;
    if (window.width() < titleNeeds)
        clipped << describe(window, window.windowTitle(), titleNeeds);
    for (QString& line : clipped)
        line.prepend(QStringLiteral("%1 %2: ").arg(QLatin1String(language), QLatin1String(name)));
    window.hide();
    return clipped;
}

} // namespace

TEST(LanguageLayout, EveryWindowFitsItsTextsInEveryShippedLanguage)
{
    test::AllWindows all;
    app::TForm1& window = all.window;
    lang::TLanguageManager& manager = lang::LangManager();
    manager.SetBaseLanguage(lang::kLangItalian);
    const QDir languages(QStringLiteral(QUORVANE_LANGUAGE_DIR));
    for (const QString& file : languages.entryList({ QStringLiteral("*.lng") }, QDir::Files))
        ASSERT_TRUE(manager.AddLanguageFile(languages.filePath(file).toStdString()));
    ASSERT_EQ(manager.CountLanguages(), static_cast<int>(std::size(kLanguages)));
    const auto& dialogsToShow = all.dialogs;

    QStringList clipped;
    for (const Language& language : kLanguages) {
        manager.SwitchLanguage(language.langId);
        clipped << showAndCheck(window, language.name, "Form1");
        for (const auto& [name, make] : dialogsToShow) {
            const std::unique_ptr<QWidget> dialog = make();
            clipped << showAndCheck(*dialog, language.name, name);
        }
    }
    manager.SwitchLanguage(lang::kLangItalian);
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QLatin1Char('\n')).toStdString();
}
