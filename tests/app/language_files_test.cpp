// Every shipped language file against the program's template, a switch of the main
// window to English and back, and the texts built in code that follow the language too.
#include "app/dialog_host.h"
#include "app/file_dialog_texts.h"
#include "app/file_list_box.h"
#include "app/filter_text.h"
#include "app/language_template.h"
#include "app/properties_dialog.h"
#include "app/qt_prompts.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "app/tform1.h"
#include "file_list_wait.h"
#include "lang/lang_file.h"
#include "lang/lang_ids.h"
#include "lang/language_manager.h"
#include "modal_driver.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <utility>

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

TEST(LanguageFiles, ItemListsKeepOneLinePerItem)
{
    // A list's text (column titles, the items of a drop-down list) holds one line per item,
    // each ending in a line break: a translation with a line fewer shifts every later title
    // onto the wrong column.
    const auto lines = [](const std::u32string& text) { return std::ranges::count(text, U'\n'); };
    lang::TLang_CompTranslations reference;
    lang::parseLanguageText(app::toCore(app::languageTemplate()), reference, false);
    int lists = 0;
    for (const char* name : { "english.lng", "german.lng", "french.lng", "spanish.lng" }) {
        const lang::TLang_CompTranslations file
            = lang::readLanguageFile(std::string(QUORVANE_LANGUAGE_DIR) + "/" + name, false);
        for (const lang::TLang_CompTranslation& form : reference.forms()) {
            const lang::TLang_CompTranslation* translated = file.form(form.name());
            ASSERT_NE(translated, nullptr) << name << " lacks [" << form.name() << "]";
            for (const auto& item : form.items()) {
                if (!item.text.ends_with(U"\n"))
                    continue;
                ++lists;
                const std::u32string* text = translated->find(item.id);
                ASSERT_NE(text, nullptr) << name << " lacks " << form.name() << " " << item.id;
                EXPECT_EQ(lines(*text), lines(item.text))
                    << name << " " << form.name() << " " << item.id;
            }
        }
    }
    EXPECT_GE(lists, 4 * 3) << "the column titles and item lists of the template";
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

/// Confirms every numbering dialog as it opens, recording the layout and the example it
/// shows; any other dialog is cancelled.
class NumberingDialogReader final : public app::DialogHost
{
public:
    int exec(QDialog& dialog) override
    {
        if (dialog.objectName() != QStringLiteral("FormNumera"))
            return QDialog::Rejected;
        const auto* layout = dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        QStringList elements;
        for (int row = 0; row < layout->count(); ++row)
            elements << layout->item(row)->text();
        layouts << elements.join(QLatin1Char('|'));
        examples << dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
        dialog.accept();
        return dialog.result();
    }
    QStringList layouts;
    QStringList examples;
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

TEST(LanguageFiles, TheFilterTheStatusBarTheFileDialogsAndThePropertiesFollowTheLanguage)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    test::TempDir tmp;
    tmp.file("entry.txt", "12345");
    app::TForm1 window(prompts, fs, dialogs, platform::decodeName(tmp.path()), nullptr);
    addShippedLanguages();
    lang::TLanguageManager& manager = lang::LangManager();
    auto* filter = window.findChild<QComboBox*>(QStringLiteral("FilterComboBox1"));
    auto* files = window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(files, nullptr);
    // A mask of the user's, chosen: a switch keeps it and keeps it chosen.
    filter->addItem(QStringLiteral("*.a"), QStringLiteral("*.a"));
    filter->setCurrentIndex(filter->count() - 1);
    const auto openDialog = [&] {
        QFileDialog dialog;
        app::FileDialogTexts::prepare(dialog, window, app::FileDialogTexts::Which::OpenDialog1);
        return std::make_pair(dialog.windowTitle(), dialog.nameFilters());
    };
    const auto properties = [&] {
        const app::PropertiesDialog dialog(fs, platform::decodeName(tmp / "entry.txt"));
        QStringList texts { dialog.windowTitle() };
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    };

    // Shown first: showing puts the stored language (here Italian) into force.
    window.show();
    ASSERT_TRUE(test::waitForFileList(
        *window.findChild<app::FileListBox*>(QStringLiteral("FileListBox1"))));
    manager.SwitchLanguage(1031);
    EXPECT_EQ(filter->itemText(0), QStringLiteral("Alle Dateien (*.*)"));
    EXPECT_EQ(filter->itemText(1), QStringLiteral("MP3-Dateien (*.mp3)"));
    // The words change, never what the filter takes.
    EXPECT_EQ(filter->itemData(1).toString(), QStringLiteral("*.mp3"));
    EXPECT_EQ(filter->currentText(), QStringLiteral("*.a"));
    EXPECT_EQ(files->text(), QStringLiteral(" 1 Dateien"));
    EXPECT_EQ(openDialog(),
        std::make_pair(QStringLiteral("Datei auswählen"),
            QStringList({ "Alle Dateien (*)", "Textdateien (*.txt)" })));
    const QStringList german = properties();
    EXPECT_TRUE(german.contains(QStringLiteral("Eigenschaften")));
    EXPECT_TRUE(german.contains(QStringLiteral("Größe:")));
    // The values are the entry's, not texts of the form.
    EXPECT_TRUE(german.contains(QStringLiteral("entry.txt")));
    EXPECT_TRUE(german.contains(QStringLiteral("5 Byte")));

    manager.SwitchLanguage(lang::kLangItalian);
    EXPECT_EQ(filter->itemText(0), QStringLiteral("Tutti i files (*.*)"));
    EXPECT_EQ(filter->currentText(), QStringLiteral("*.a"));
    EXPECT_EQ(files->text(), QStringLiteral(" 1 Files"));
    EXPECT_EQ(openDialog().first, QStringLiteral("Seleziona un file"));
    EXPECT_TRUE(properties().contains(QStringLiteral("5 byte")));
}

TEST(LanguageFiles, ANumberingLayoutKeepsItsMeaningAcrossASwitch)
{
    test::ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    NumberingDialogReader dialogs;
    test::TempDir tmp;
    tmp.file("b.mp3");
    tmp.file("a.mp3");
    app::TForm1 window(prompts, fs, dialogs, platform::decodeName(tmp.path()), nullptr);
    addShippedLanguages();
    lang::TLanguageManager& manager = lang::LangManager();
    window.show();
    ASSERT_TRUE(test::waitForFileList(
        *window.findChild<app::FileListBox*>(QStringLiteral("FileListBox1"))));
    window.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
    auto* numbering = window.findChild<QAction*>(QStringLiteral("NumerazioneFiles1"));

    numbering->trigger(); // armed in Italian with the layout proposed
    manager.SwitchLanguage(1033);
    numbering->trigger(); // disarmed
    numbering->trigger(); // the dialog again, now in English
    ASSERT_TRUE(numbering->isChecked());
    EXPECT_EQ(dialogs.layouts,
        (QStringList { "Numerazione|Separatore|Filename", "Numbering|Separator|File name" }));
    EXPECT_EQ(dialogs.examples, (QStringList { "NN - Filename.ext", "NN - File name.ext" }));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "01 - a.mp3", "02 - b.mp3" }));
    EXPECT_TRUE(prompts.requests.empty()) << "no collision";
    manager.SwitchLanguage(lang::kLangItalian);
}

TEST(FileDialogFilters, TranslatedWordsOverTheProgramsMasks)
{
    const QList<app::FilterEntry> designed
        = app::splitFilter(QStringLiteral("*.txt|*.txt|*.*|*.*"));
    const auto filters = [&](const QString& translated) {
        QStringList out;
        for (const app::FilterEntry& entry : app::translateFilter(designed, translated))
            out << app::nameFilter(entry);
        return out;
    };
    // Untranslated: the masks alone, "*.*" as Qt needs it to show names without a dot.
    EXPECT_EQ(filters(QStringLiteral("*.txt|*.txt|*.*|*.*")), QStringList({ "*.txt", "*" }));
    // A translator's own patterns and masks give way to the program's.
    EXPECT_EQ(filters(QStringLiteral("Text files (*.text)|*.text|All files (*.*)|*.*")),
        QStringList({ "Text files (*.txt)", "All files (*)" }));
    // A short translation leaves the rest as designed; a longer one adds nothing.
    EXPECT_EQ(filters(QStringLiteral("Textdateien")), QStringList({ "Textdateien (*.txt)", "*" }));
    EXPECT_EQ(filters(QStringLiteral("a|*.txt|b|*|c|*.c")), QStringList({ "a (*.txt)", "b (*)" }));
}
