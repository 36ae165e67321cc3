// The main window's languages: the scan at start-up, the stored language, the language
// dialog and the window's own translation controller.
#include "browse_pane.h"
#include "dialog_host.h"
#include "options_panel.h"
#include "qt_text.h"
#include "qt_translations.h"
#include "settings/settings_store.h"
#include "slot_guard.h"
#include "tform1.h"

#include "history/history_commands.h"
#include "tlang_dialog.h"
#include "tlanguage_controller.h"

#include "engine/prompts.h"
#include "lang/lang_ids.h"
#include "lang/language_manager.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace quorvane::app {

namespace {

/// The language's own name ("Deutsch", "Français"), capitalised as a list item: the
/// program's own name for the languages it ships, the locale database's for the others.
std::u32string nativeLanguageName(std::uint16_t langId)
{
    const std::string_view own = lang::nativeLanguageNameOf(langId);
    if (!own.empty())
        return toCore(QString::fromUtf8(own.data(), static_cast<qsizetype>(own.size())));
    const std::string_view tag = lang::languageTagOf(langId);
    if (tag.empty())
        return {};
    QString name = QLocale(QString::fromLatin1(tag.data(), static_cast<qsizetype>(tag.size())))
                       .nativeLanguageName();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return toCore(name);
}

/// Qt's own texts (the buttons of the program's questions, the file dialogs) and the dates
/// follow the program's language; a language Qt has no name for leaves them as they are.
void followWithQtLanguage(std::uint16_t langId)
{
    const std::string_view tag = lang::languageTagOf(langId);
    if (!tag.empty())
        setQtLanguage(QLocale(QString::fromLatin1(tag.data(), static_cast<qsizetype>(tag.size()))));
}

QStringList languageFolders()
{
    // Beside the executable, as the program was designed; an installed program also finds
    // the files installed with it under share/.
    const QString exe = QCoreApplication::applicationDirPath();
    return { exe, QDir::cleanPath(exe + QStringLiteral("/../share/quorvane")) };
}

} // namespace

void TForm1::createLanguageController()
{
    TLanguageController::setCorruptDataReporter([this](const QString& message) {
        m_prompts.tell({ "LANGDATA", engine::Severity::Error, toCore(message) });
    });
    auto* controller = new TLanguageController(this, "Form1");
    // The status panels are computed texts: after a switch they are computed again.
    connect(controller, &TLanguageController::languageChanged, this, [this] {
        followWithQtLanguage(lang::LangManager().CurrentLanguage());
        // An item of our own beside the program's forms: its text is an added text.
        CronologiaOperazioni1->setText(historyMenuCaption());
        if (m_shown)
            m_browse->Aggiorna_StatusBar();
    });
}

void TForm1::findLanguages()
{
    lang::TLanguageManager& manager = lang::LangManager();
    manager.setLanguageNamer(nativeLanguageName);
    manager.SetBaseLanguage(lang::kLangItalian);
    for (const QString& folder : languageFolders())
        manager.FindLanguageFiles(m_fs, folder.toStdString(), U"*.lng", false);
}

void TForm1::switchLanguageKeepingSelection(std::uint16_t langId)
{
    // Applying a language rewrites the capitalisation list's items.
    auto* combo = m_options->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    const int item = combo != nullptr ? combo->currentIndex() : -1;
    lang::LangManager().SwitchLanguage(langId);
    if (combo != nullptr)
        combo->setCurrentIndex(item);
}

void TForm1::putStoredLanguageInForce()
{
    lang::TLanguageManager& manager = lang::LangManager();
    switchLanguageKeepingSelection(manager.LanguageIdAt(0));
    const int index = m_settingsFlags.LanguageIndex;
    if (index < 0 || index > manager.CountLanguages() - 1)
        ChooseLanguage();
    else
        switchLanguageKeepingSelection(manager.LanguageIdAt(index));
}

void TForm1::chooseLanguageOnFirstRun()
{
    if (m_settings == nullptr || !m_settings->unusableReason().isEmpty() || m_settings->keyExists())
        return;
    // The manager starts out claiming English (1033) without applying anything: a click on
    // English would then change nothing until the window is shown, and the question that
    // follows the dialog would be asked in Italian. With Italian in force first, every
    // language clicked is applied at once.
    switchLanguageKeepingSelection(lang::LangManager().LanguageIdAt(0));
    ChooseLanguage();
}

void TForm1::ChooseLanguage()
{
    lang::TLanguageManager& manager = lang::LangManager();
    TLangDialog dialog(this);
    for (int i = 1; i < manager.CountLanguages(); ++i)
        dialog.addLanguage(toDisplay(manager.LanguageTitleAt(i)));
    dialog.setItemIndex(m_settingsFlags.LanguageIndex);
    connect(&dialog, &TLangDialog::RadioGroup1Click, this, [this, &dialog](int index) {
        runGuarded(m_prompts, [this, index] {
            switchLanguageKeepingSelection(lang::LangManager().LanguageIdAt(index));
            // Only a language that is in force is remembered.
            m_settingsFlags.LanguageIndex = index;
        });
        dialog.setItemIndex(m_settingsFlags.LanguageIndex);
    });
    m_dialogs.exec(dialog);
}

void TForm1::Lingua1Click()
{
    ChooseLanguage();
}

} // namespace quorvane::app
