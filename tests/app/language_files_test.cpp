// Every shipped language file against the program's template, a switch of the main
// window to English and back, and the texts built in code that follow the language too.
#include "app/dialog_host.h"
#include "app/language_template.h"
#include "app/qt_prompts.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "app/tform1.h"
#include "lang/lang_file.h"
#include "lang/lang_ids.h"
#include "lang/language_manager.h"
#include "modal_driver.h"
#include "platform/posix_file_system.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

using namespace quorvane;

namespace {

QString placeholders(const std::u32string& text)
{
    QStringList found;
    const QString qtext = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
    for (const auto& m : QRegularExpression(QStringLiteral("%-?[0-9]*[sd]")).globalMatch(qtext))
        found << m.captured();
    return found.join(' ');
}

void expectSameTable(const lang::TLang_Constants& reference, const lang::TLang_Constants& file,
    const std::string& file_name)
{
    for (const lang::TLang_Constant& item : reference.items()) {
        const lang::TLang_Constant* translated = file.findOrNull(item.name);
        ASSERT_NE(translated, nullptr) << file_name << " lacks " << item.name;
        EXPECT_EQ(placeholders(translated->text), placeholders(item.text))
            << file_name << ": " << item.name;
    }
}

/// The Cancel button as Qt draws it now.
QString cancelButtonText()
{
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    return buttons.button(QDialogButtonBox::Cancel)->text();
}

} // namespace

TEST(LanguageFiles, EveryShippedFileIsComplete)
{
    lang::TLang_CompTranslations reference;
    lang::parseLanguageText(app::toCore(app::languageTemplate()), reference, false);
    ASSERT_GT(reference.constants().size(), 50U);
    for (const char* name : { "english.lng", "german.lng", "french.lng", "spanish.lng" }) {
        const std::string path = std::string(QUORVANE_LANGUAGE_DIR) + "/" + name;
        const lang::TLang_CompTranslations file = lang::readLanguageFile(path, false);
        EXPECT_NE(file.langId(), 0) << name;
        expectSameTable(reference.constants(), file.constants(), name);
        expectSameTable(reference.addedTexts(), file.addedTexts(), name);
        for (const lang::TLang_CompTranslation& form : reference.forms()) {
            const lang::TLang_CompTranslation* translated = file.form(form.name());
            ASSERT_NE(translated, nullptr) << name << " lacks [" << form.name() << "]";
            for (const auto& item : form.items()) {
                const std::u32string* text = translated->find(item.id);
                ASSERT_NE(text, nullptr) << name << " lacks " << form.name() << " " << item.id;
                // A caption with an Alt key keeps one.
                EXPECT_EQ(item.text.find(U'&') != std::u32string::npos,
                    text->find(U'&') != std::u32string::npos)
                    << name << " " << form.name() << " " << item.id;
            }
        }
    }
}

TEST(LanguageFiles, WindowSwitchesToEnglishAndBackWhileTheTemplateStaysItalian)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    app::TForm1 window(prompts, fs, dialogs, U"/", nullptr);
    lang::TLanguageManager& manager = lang::LangManager();
    ASSERT_TRUE(manager.AddLanguageFile(std::string(QUORVANE_LANGUAGE_DIR) + "/english.lng"));
    auto* box = window.findChild<QCheckBox*>(QStringLiteral("CheckBox7"));
    auto* menu = window.findChild<QAction*>(QStringLiteral("NumerazioneFiles1"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(menu, nullptr);
    manager.SwitchLanguage(1040);
    manager.SwitchLanguage(1033);
    EXPECT_EQ(box->text(), QStringLiteral("Directories"));
    EXPECT_EQ(box->toolTip(), QStringLiteral("Renames the directories too"));
    EXPECT_EQ(menu->text(), QStringLiteral("&Numbering Files"));
    EXPECT_EQ(app::constantText(lang::id::RINOMINA), QStringLiteral("Rename"));
    // Qt's own buttons and the dates follow.
    EXPECT_EQ(app::programLocale().language(), QLocale::English);
    EXPECT_EQ(cancelButtonText(), QStringLiteral("Cancel"));
    // Forms made while English is in force still record their Italian defaults.
    EXPECT_TRUE(app::languageTemplate().contains(QStringLiteral("Le Directory")));
    manager.SwitchLanguage(1040);
    EXPECT_EQ(box->text(), QStringLiteral("Le Directory"));
    EXPECT_EQ(menu->text(), QStringLiteral("&Numerazione Files"));
    EXPECT_EQ(app::constantText(lang::id::RINOMINA), QStringLiteral("Rinomina"));
    EXPECT_EQ(app::programLocale().language(), QLocale::Italian);
    if (QFile::exists(
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_it.qm"))) {
        EXPECT_EQ(cancelButtonText(), QStringLiteral("Annulla"));
    }
}

namespace {

/// Registers the four shipped languages (again: a file found twice keeps its place).
void addShippedLanguages()
{
    lang::TLanguageManager& manager = lang::LangManager();
    manager.SetBaseLanguage(lang::kLangItalian);
    for (const char* name : { "english.lng", "german.lng", "french.lng", "spanish.lng" })
        ASSERT_TRUE(manager.AddLanguageFile(std::string(QUORVANE_LANGUAGE_DIR) + "/" + name));
}

/// Records the items of the language dialog instead of showing it.
class LanguageDialogReader final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        for (const QRadioButton* item : dialog.findChildren<QRadioButton*>())
            items << item->text();
        return QDialog::Rejected;
    }
    QStringList items;
};

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

TEST(LanguageFiles, TheLanguageDialogNamesEachLanguageInItselfWithoutARegion)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    LanguageDialogReader dialogs;
    app::TForm1 window(prompts, fs, dialogs, U"/", nullptr);
    addShippedLanguages();
    window.ChooseLanguage();
    dialogs.items.sort();
    EXPECT_EQ(
        dialogs.items, QStringList({ "Deutsch", "English", "Español", "Français", "Italiano" }));
}

TEST(LanguageFiles, TheOneFileOrAllQuestionNamesItsButtonsAsTheyRead)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    app::TForm1 window(prompts, fs, dialogs, U"/", nullptr);
    addShippedLanguages();
    lang::TLanguageManager& manager = lang::LangManager();
    app::QtPrompts boxes;
    for (int index = 0; index < manager.CountLanguages(); ++index) {
        manager.SwitchLanguage(manager.LanguageIdAt(index));
        const std::u32string text = lang::LookupConstant(lang::id::UN_FILE_O_TUTTI);
        const QString question = app::toQt(text);
        QStringList buttons;
        test::ModalDriver driver([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            for (const auto which : { QMessageBox::Ok, QMessageBox::YesToAll }) {
                if (const QAbstractButton* button = box.button(which))
                    buttons << withoutMnemonic(button->text());
            }
            box.reject();
        });
        (void)boxes.ask({ "UN_FILE_O_TUTTI", engine::Severity::Confirmation, text,
            { engine::Button::Ok, engine::Button::All, engine::Button::Cancel },
            engine::Button::Ok });
        ASSERT_EQ(buttons.size(), 2) << index;
        // OK is Qt's own text: only a language Qt has its translations for is checked.
        const bool qtSpeaksIt = app::programLocale().language() == QLocale::English
            || QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                + QStringLiteral("/qtbase_%1.qm").arg(app::programLocale().name().left(2)));
        for (qsizetype i = qtSpeaksIt ? 0 : 1; i < 2; ++i) {
            EXPECT_TRUE(
                question.contains(QStringLiteral("[%1]").arg(buttons[i]), Qt::CaseInsensitive))
                << question.toStdString() << " / " << buttons[i].toStdString();
        }
    }
    manager.SwitchLanguage(lang::kLangItalian);
}
