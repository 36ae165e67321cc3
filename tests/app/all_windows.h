// Every window and dialog of the program, made on demand beside one main window, for the
// tests that look at all of them in every language.
#pragma once

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
#include "lang/language_manager.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QAction>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quorvane::test {

/// The main window and a maker for each dialog, named as the form is named.
struct AllWindows
{
    using Make = std::function<std::unique_ptr<QWidget>()>;

    AllWindows()
    {
        tmp.file("entry.txt", "1");
        dialogs = {
            { "AboutBox", [this] { return std::make_unique<about::TAboutBox>(&window); } },
            { "Alignlist",
                [this] {
                    return std::make_unique<app::TAlignlist>(
                        std::vector<std::u32string> {}, engine::EntryList {}, prompts, &window);
                } },
            { "Anteprima",
                [this] {
                    return std::make_unique<app::TAnteprima>(
                        window.listingFont(), [] { return false; }, &window);
                } },
            { "Avanzate",
                [this] {
                    return std::make_unique<app::TAvanzate>(
                        flags, store, [] {}, prompts, &window);
                } },
            { "CDPForm",
                [this] { return std::make_unique<app::TCDPForm>(noAlbums, prompts, &window); } },
            { "DelNumForm",
                [this] {
                    return std::make_unique<app::TDelNumForm>(state, numbering, removal, &window);
                } },
            { "FormNumera",
                [this] {
                    return std::make_unique<app::TFormNumera>(
                        state, prompts, numbering, removal, &window);
                } },
            { "Preview",
                [this] {
                    return std::make_unique<app::TPreview>(
                        engine::UndoLog {}, std::vector<engine::PreviewMark> {}, &window);
                } },
            { "Sort",
                [this] {
                    return std::make_unique<app::TSort>(
                        std::vector<app::TSort::Row> {}, std::vector<std::u32string> {}, &window);
                } },
            { "Stampa",
                [this] {
                    return std::make_unique<app::TStampa>(
                        window.listingCommands(), engine::ListingSource {}, &window);
                } },
            { "History",
                [this] {
                    return std::make_unique<app::THistory>(journal, fs, prompts, quiet, &window);
                } },
            { "LangDialog",
                [this] {
                    auto dialog = std::make_unique<app::TLangDialog>(&window);
                    lang::TLanguageManager& manager = lang::LangManager();
                    for (int i = 1; i < manager.CountLanguages(); ++i)
                        dialog->addLanguage(QString::fromStdU32String(manager.LanguageTitleAt(i)));
                    return dialog;
                } },
            { "RenameRetry",
                [this] { return std::make_unique<app::RenameRetryDialog>(refused, &window); } },
            { "Properties",
                [this] {
                    return std::make_unique<app::PropertiesDialog>(
                        fs, platform::decodeName(tmp / "entry.txt"), &window);
                } },
        };
    }

    ScriptedPrompts prompts;
    platform::PosixFileSystem fs;
    app::DialogHost host;
    TempDir tmp;
    app::TForm1 window { prompts, fs, host, U"/", nullptr };
    const engine::IniFile noAlbums;
    app::SettingsStore store { QString::fromStdString(tmp / "settings.ini") };
    app::SettingsFlags flags;
    engine::RunState state;
    QAction numbering;
    QAction removal;
    const engine::JournalStore journal { tmp / "runs" };
    engine::RunObserver quiet;
    const engine::InputRequest refused { "RINOMINA_IN_USO", U"Rinomina file",
        U"Rinomina file: Un nome di file piuttosto lungo.mp3", U"Un nome di file.mp3" };
    std::vector<std::pair<const char*, Make>> dialogs;
};

} // namespace quorvane::test
