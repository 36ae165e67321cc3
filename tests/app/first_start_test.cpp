// The very first start (no settings file) in a process of its own, since the language
// manager is the process's: the language dialog in the middle of the screen, and the language
// chosen in it as the language of the question that follows it and of the window.
#include "app/dialog_host.h"
#include "app/language_template.h"
#include "app/qt_prompts.h"
#include "app/qt_text.h"
#include "app/settings/settings_store.h"
#include "app/tform1.h"
#include "lang/lang_file.h"
#include "lang/lang_ids.h"
#include "lang/language_manager.h"
#include "modal_driver.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMessageBox>
#include <QScreen>

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

const char* const kShipped[] = { "english.lng", "french.lng" };

/// Clicks the language at `item` in the language dialog, as a person does, then OK.
class LanguageClicker final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        if (dialog.objectName() != QStringLiteral("LangDialog"))
            return QDialog::Rejected;
        ++shown;
        if (auto* button = dialog.findChild<QAbstractButton*>(QStringLiteral("Item%1").arg(item)))
            button->click();
        dialog.accept();
        return dialog.result();
    }
    bool openUrl(const QUrl&) override { return true; }
    int item = 0;
    int shown = 0;
};

/// The language list's index of `langId`, -1 when it is not in the list.
int indexOf(std::uint16_t langId)
{
    const lang::TLanguageManager& manager = lang::LangManager();
    for (int i = 0; i < manager.CountLanguages(); ++i) {
        if (manager.LanguageIdAt(i) == langId)
            return i;
    }
    return -1;
}

struct Expected
{
    std::uint16_t langId;
    QString question; ///< AUTO_CHECK in that language
    QString directories; ///< the caption of CheckBox7 (Form1, ID 15)
};

Expected expectedFromFile(const std::string& path)
{
    const lang::TLang_CompTranslations file = lang::readLanguageFile(path, false);
    return { file.langId(), app::toDisplay(file.constants().findOrNull("AUTO_CHECK")->text),
        app::toDisplay(*file.form("Form1")->find(15)) };
}

TEST(FirstStart, TheQuestionAfterTheLanguageDialogSpeaksTheLanguageChosen)
{
    // The files are registered as the window's scan registers those beside the executable.
    lang::TLanguageManager& manager = lang::LangManager();
    manager.SetBaseLanguage(lang::kLangItalian);
    std::vector<Expected> cases;
    for (const char* name : kShipped) {
        const std::string path = std::string(QUORVANE_LANGUAGE_DIR) + "/" + name;
        ASSERT_TRUE(manager.AddLanguageFile(path)) << name;
        cases.push_back(expectedFromFile(path));
    }
    lang::TLang_CompTranslations italian;
    lang::parseLanguageText(app::toCore(app::languageTemplate()), italian, false);
    cases.push_back(
        { lang::kLangItalian, app::toDisplay(italian.constants().findOrNull("AUTO_CHECK")->text),
            app::toDisplay(*italian.form("Form1")->find(15)) });
    // English first: the manager is then still as the program finds it when it starts.
    ASSERT_EQ(cases.front().langId, lang::kLangEnglishUs);

    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.langId);
        TempDir config;
        TempDir work;
        platform::PosixFileSystem fs;
        LanguageClicker host;
        host.item = indexOf(expected.langId);
        ASSERT_GE(host.item, 0);
        app::QtPrompts prompts;
        QStringList asked;
        ModalDriver driver([&](QWidget& modal) {
            if (const auto* box = qobject_cast<QMessageBox*>(&modal))
                asked << box->text();
            ModalDriver::press(modal, Qt::Key_Escape); // No: no check on the network
        });
        app::SettingsStore store(QString::fromStdString(config.path() + "/Quorvane.ini"));
        app::TForm1 window(prompts, fs, host, platform::decodeName(work.path()), &store);
        EXPECT_EQ(host.shown, 1);
        EXPECT_EQ(asked.join(QLatin1Char('|')).toStdString(), expected.question.toStdString());
        window.show();
        EXPECT_EQ(window.findChild<QCheckBox*>(QStringLiteral("CheckBox7"))->text().toStdString(),
            expected.directories.toStdString());
        EXPECT_EQ(window.settingsFlags().LanguageIndex, host.item);
        EXPECT_EQ(driver.stuck(), 0);
        window.close();
    }
}

/// Shows the language dialog as exec() would and records where it stands.
class LanguageDialogPlacement final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        dialog.show();
        placed = dialog.geometry();
        // The frame's borders are learnt only once the dialog is shown: it may stand off
        // the middle by that much.
        const QRect frame = dialog.frameGeometry();
        borders = frame.width() - placed.width() + frame.height() - placed.height();
        screen = dialog.screen()->availableGeometry();
        dialog.hide();
        return QDialog::Rejected;
    }
    QRect placed;
    QRect screen;
    int borders = 0;
};

TEST(FirstStart, TheLanguageDialogStandsInTheMiddleOfTheScreen)
{
    // At the first start the main window is not shown yet: the dialog must not be centred on
    // where that window will be, but on the screen.
    platform::PosixFileSystem fs;
    LanguageDialogPlacement host;
    app::QtPrompts prompts;
    app::TForm1 window(prompts, fs, host, U"/", nullptr);
    window.setGeometry(0, 0, window.minimumWidth(), window.minimumHeight());
    window.ChooseLanguage();
    ASSERT_FALSE(host.placed.isEmpty());
    EXPECT_LE((host.placed.center() - host.screen.center()).manhattanLength(), host.borders + 2)
        << "dialog at " << host.placed.x() << "," << host.placed.y() << " " << host.placed.width()
        << "x" << host.placed.height() << ", screen " << host.screen.width() << "x"
        << host.screen.height();
}

} // namespace
} // namespace quorvane::test
