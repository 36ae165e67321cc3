// Every window in every shipped language, shown at the size it opens with: no caption wider
// than its control, no menu bar that folds its menus away, no Alt letter used twice in one
// menu. With QUORVANE_SCREENSHOT_DIR set, each window is also saved there as
// <language>-<window>.png for a person to look at.
#include "app/about/taboutbox.h"
#include "app/dialog_host.h"
#include "app/history/thistory.h"
#include "app/modes/talign_list.h"
#include "app/modes/tcdp_form.h"
#include "app/modes/tdel_num_form.h"
#include "app/modes/tform_numera.h"
#include "app/modes/tsort.h"
#include "app/print/tanteprima.h"
#include "app/print/tstampa.h"
#include "app/properties_dialog.h"
#include "app/rename_retry_dialog.h"
#include "app/settings/settings_store.h"
#include "app/settings/tavanzate.h"
#include "app/tform1.h"
#include "app/tlang_dialog.h"
#include "app/tpreview.h"
#include "engine/ini_file.h"
#include "engine/journal_store.h"
#include "engine/run_observer.h"
#include "lang/lang_ids.h"
#include "lang/language_manager.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
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
    for (QString& line : clipped)
        line.prepend(QStringLiteral("%1 %2: ").arg(QLatin1String(language), QLatin1String(name)));
    window.hide();
    return clipped;
}

} // namespace

TEST(LanguageLayout, EveryWindowFitsItsTextsInEveryShippedLanguage)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    test::TempDir tmp;
    tmp.file("entry.txt", "1");
    app::TForm1 window(prompts, fs, dialogs, U"/", nullptr);
    const engine::IniFile noAlbums;
    lang::TLanguageManager& manager = lang::LangManager();
    manager.SetBaseLanguage(lang::kLangItalian);
    const QDir languages(QStringLiteral(QUORVANE_LANGUAGE_DIR));
    for (const QString& file : languages.entryList({ QStringLiteral("*.lng") }, QDir::Files))
        ASSERT_TRUE(manager.AddLanguageFile(languages.filePath(file).toStdString()));
    ASSERT_EQ(manager.CountLanguages(), static_cast<int>(std::size(kLanguages)));

    app::SettingsStore store(QString::fromStdString(tmp / "settings.ini"));
    app::SettingsFlags flags;
    engine::RunState state;
    QAction numbering;
    QAction removal;
    const engine::JournalStore journal(tmp / "runs");
    engine::RunObserver quiet;
    const engine::InputRequest refused { "RINOMINA_IN_USO", U"Rinomina file",
        U"Rinomina file: Un nome di file piuttosto lungo.mp3", U"Un nome di file.mp3" };
    using Make = std::function<std::unique_ptr<QWidget>()>;
    const std::vector<std::pair<const char*, Make>> dialogsToShow {
        { "AboutBox", [&] { return std::make_unique<about::TAboutBox>(&window); } },
        { "Alignlist",
            [&] {
                return std::make_unique<app::TAlignlist>(
                    std::vector<std::u32string> {}, engine::EntryList {}, prompts, &window);
            } },
        { "Anteprima",
            [&] {
                return std::make_unique<app::TAnteprima>(
                    window.listingFont(), [] { return false; }, &window);
            } },
        { "Avanzate",
            [&] {
                return std::make_unique<app::TAvanzate>(
                    flags, store, [] {}, prompts, &window);
            } },
        { "CDPForm", [&] { return std::make_unique<app::TCDPForm>(noAlbums, prompts, &window); } },
        { "DelNumForm",
            [&] {
                return std::make_unique<app::TDelNumForm>(state, numbering, removal, &window);
            } },
        { "FormNumera",
            [&] {
                return std::make_unique<app::TFormNumera>(
                    state, prompts, numbering, removal, &window);
            } },
        { "Preview",
            [&] {
                return std::make_unique<app::TPreview>(
                    engine::UndoLog {}, std::vector<engine::PreviewMark> {}, &window);
            } },
        { "Sort",
            [&] {
                return std::make_unique<app::TSort>(
                    std::vector<app::TSort::Row> {}, std::vector<std::u32string> {}, &window);
            } },
        { "Stampa",
            [&] {
                return std::make_unique<app::TStampa>(
                    window.listingCommands(), engine::ListingSource {}, &window);
            } },
        { "History",
            [&] { return std::make_unique<app::THistory>(journal, fs, prompts, quiet, &window); } },
        { "LangDialog",
            [&] {
                auto dialog = std::make_unique<app::TLangDialog>(&window);
                for (int i = 1; i < manager.CountLanguages(); ++i)
                    dialog->addLanguage(QString::fromStdU32String(manager.LanguageTitleAt(i)));
                return dialog;
            } },
        { "RenameRetry",
            [&] { return std::make_unique<app::RenameRetryDialog>(refused, &window); } },
        { "Properties",
            [&] {
                return std::make_unique<app::PropertiesDialog>(
                    fs, platform::decodeName(tmp / "entry.txt"), &window);
            } },
    };

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
