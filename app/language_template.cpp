// The translator's template: every built-in text of the program as a language file.
#include "language_template.h"

#include "about/taboutbox.h"
#include "dialog_host.h"
#include "history/thistory.h"
#include "modes/talign_list.h"
#include "modes/tcdp_form.h"
#include "modes/tdel_num_form.h"
#include "modes/tform_numera.h"
#include "modes/tsort.h"
#include "print/listing_commands.h"
#include "print/tanteprima.h"
#include "print/tstampa.h"
#include "properties_dialog.h"
#include "qt_text.h"
#include "settings/settings_store.h"
#include "settings/tavanzate.h"
#include "tform1.h"
#include "tlanguage_controller.h"
#include "tpreview.h"

#include "engine/ini_file.h"
#include "engine/journal_store.h"
#include "engine/prompts.h"
#include "engine/run_observer.h"
#include "lang/form_lang_data.h"
#include "lang/lang_file.h"
#include "lang/language_manager.h"
#include "platform/posix_file_system.h"

#include <QAction>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace quorvane::app {

namespace {

/// Answers nothing: the forms are built, never used.
class SilentPrompts final : public engine::Prompts
{
public:
    engine::Button ask(const engine::Question& question) override
    {
        return question.defaultButton.value_or(engine::Button::Cancel);
    }
    std::optional<std::u32string> input(const engine::InputRequest&) override
    {
        return std::nullopt;
    }
    void tell(const engine::Message&) override { }
};

QString line(std::string_view key, std::u32string_view text)
{
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) + QLatin1Char('=')
        + toQt(lang::escapeText(text)) + QLatin1Char('\n');
}

QString tableSection(std::string_view name, const lang::TLang_Constants& table)
{
    QString out = QStringLiteral("[%1]\n").arg(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    for (const lang::TLang_Constant& item : table.items())
        out += line(item.name, item.defaultText);
    return out;
}

/// The form's entered texts by ID, as its controller recorded them.
std::map<std::int32_t, std::u32string> textsOf(const QWidget& form)
{
    std::map<std::int32_t, std::u32string> texts;
    const auto* controller = form.findChild<TLanguageController*>(
        QStringLiteral("LanguageController1"), Qt::FindDirectChildrenOnly);
    if (controller == nullptr || controller->entries() == nullptr)
        return texts;
    controller->entries()->forEach([&](const lang::TLang_CompEntry& entry) {
        if (entry.component == nullptr || !entry.properties)
            return;
        for (const lang::TLang_PropEntry& item : entry.properties->items()) {
            if (!item.defaultText.empty())
                texts[item.id] = item.defaultText;
        }
    });
    return texts;
}

} // namespace

QString languageTemplate()
{
    SilentPrompts prompts;
    platform::PosixFileSystem fs;
    DialogHost dialogs;
    const QTemporaryDir scratch;
    SettingsStore store(scratch.filePath(QStringLiteral("template.ini")));
    TForm1 window(prompts, fs, dialogs, toCore(scratch.path()), nullptr);
    engine::RunState state;
    QAction numbering;
    QAction removal;
    SettingsFlags flags;

    std::map<std::string, std::map<std::int32_t, std::u32string>> forms;
    const auto take = [&](const char* name, const QWidget& form) { forms[name] = textsOf(form); };
    take("Form1", window);
    take("AboutBox", about::TAboutBox(&window));
    take("Alignlist", TAlignlist({}, {}, prompts, &window));
    take("Anteprima",
        TAnteprima(
            window.listingFont(), [] { return false; }, &window));
    take("Avanzate",
        TAvanzate(
            flags, store, [] {}, prompts, &window));
    const engine::IniFile noAlbums;
    take("CDPForm", TCDPForm(noAlbums, prompts, &window));
    take("DelNumForm", TDelNumForm(state, numbering, removal, &window));
    take("FormNumera", TFormNumera(state, prompts, numbering, removal, &window));
    // An empty history: only the dialog's own texts are wanted.
    const engine::JournalStore journal(scratch.filePath(QStringLiteral("runs")).toStdString());
    engine::RunObserver quiet;
    take("History", THistory(journal, fs, prompts, quiet, &window));
    take("Preview", TPreview({}, {}, &window));
    take("Properties", PropertiesDialog(fs, toCore(scratch.path()), &window));
    take("Sort", TSort({}, {}, &window));
    take("Stampa", TStampa(window.listingCommands(), {}, &window));

    QString out = QStringLiteral(
        "; Quorvane language file. Copy this template, set LANGID to the language's\n"
        "; Windows language identifier (1033 English, 1031 German, 1036 French, 3082 Spanish\n"
        "; ...) and translate every text after its \"=\". Keep %s and %d in their order and\n"
        "; the \"&\" that marks a menu or button's Alt key. \\n is a line break, \\t a tab,\n"
        "; \\\\ a backslash and \\32 a blank that must not be trimmed. In a file filter\n"
        "; (\"description|mask|description|mask\") translate the descriptions only.\n"
        "LANGID=1040\n\n");
    out += tableSection(lang::kConstantsSection, lang::LangManager().constants()) + '\n';
    out += tableSection(lang::kAddedSection, lang::LangManager().addedTexts());
    for (const std::string_view name : lang::formsWithLangData()) {
        out += QStringLiteral("\n[%1]\n")
                   .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        for (const auto& [id, text] : forms[std::string(name)])
            out += line(std::to_string(id), text);
    }
    return out;
}

} // namespace quorvane::app
