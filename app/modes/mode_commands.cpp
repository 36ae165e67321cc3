// The special rename modes of the "Avanzate" menu.
#include "mode_commands.h"

#include "talign_list.h"
#include "tcdp_form.h"
#include "tdel_num_form.h"
#include "tform_numera.h"
#include "tsort.h"

#include "app/dialog_host.h"
#include "app/file_dialog_texts.h"
#include "app/qt_text.h"
#include "app/run_controller.h"
#include "app/slot_guard.h"

#include "engine/cd_player_db.h"
#include "engine/list_file_reader.h"
#include "engine/name_rules.h"
#include "engine/prompts.h"
#include "engine/rename_run.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"
#include "platform/volumes.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>

namespace quorvane::app {

namespace {

/// The most names the alignment dialog reads from a list file: far more files than one
/// directory is sorted by hand, few enough that a huge file cannot exhaust memory.
constexpr std::size_t kMaxListNames = 100000;

} // namespace

ModeCommands::ModeCommands(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
    engine::RunState& state, const OptionItems& items, OptionsPanel& options,
    const RunController& run, QWidget& window)
    : QObject(&window)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
    , m_state(state)
    , m_items(items)
    , m_options(options)
    , m_run(run)
    , m_window(window)
{
    connectItems();
}

void ModeCommands::connectItems()
{
    const auto arm = [this](QAction* item, void (ModeCommands::*command)()) {
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, guardedSlot(m_prompts, this, command));
    };
    arm(m_items.NumerazioneFiles1, &ModeCommands::NumerazioneFiles1Click);
    arm(m_items.EliminaNumerazioneFiles1, &ModeCommands::EliminaNumerazioneFiles1Click);
    arm(m_items.EliminaSequenzaCaratteri1, &ModeCommands::EliminaSequenzaCaratteri1Click);
    arm(m_items.SostSeqCar1, &ModeCommands::SostSeqCar1Click);
    arm(m_items.RinominadaFile1, &ModeCommands::RinominadaFile1Click);
    arm(m_items.RinominadaCDDB1, &ModeCommands::RinominadaCDDB1Click);
    // However numbering comes to be disarmed (its own item, the removal that excludes it, a
    // run), the order chosen for it goes with it.
    connect(m_items.NumerazioneFiles1, &QAction::toggled, this, [this](bool on) {
        if (on || !m_state.NumCustomOrder)
            return;
        m_state.NumCustomOrder = false;
        releaseDirectoryBoxes();
    });
}

engine::EntryList ModeCommands::currentEntries()
{
    engine::RenameOptions options = m_options.renameOptions();
    engine::RunScope scope = m_run.runScope();
    // The dialogs order the entries a run would take, of the current directory alone.
    scope.applySelection();
    scope.recursive = false;
    engine::RunObserver quiet;
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, quiet);
    std::u32string directory = scope.directory;
    return run.Make_List_Of_File(directory, true, false);
}

void ModeCommands::NumerazioneFiles1Click()
{
    QAction& item = *m_items.NumerazioneFiles1;
    if (!item.isChecked()) {
        m_state.NumCustomOrder = false;
        releaseDirectoryBoxes();
        return;
    }
    if (m_state.LastNumberedDir == m_run.runScope().directory) {
        m_prompts.tell({ "NUMERAZIONE_APPENA_USATA", engine::Severity::Warning,
            lang::LookupConstant(lang::id::NUMERAZIONE_APPENA_USATA) });
    }
    // An armed list already fixes the order of its files: an order of their own would pair
    // the list's names with other files.
    TFormNumera form(m_state, m_prompts, item, *m_items.EliminaNumerazioneFiles1, &m_window,
        m_state.NumAfterList || listModeArmed());
    if (m_dialogs.exec(form) != QDialog::Accepted || !m_state.NumCustomOrder)
        return;
    m_options.enableDirectoryBoxes(false);
    if (!chooseOrder()) {
        item.setChecked(false);
        m_state.NumCustomOrder = false;
        releaseDirectoryBoxes();
    }
}

bool ModeCommands::listModeArmed() const
{
    return m_items.RinominadaFile1->isChecked() || m_items.RinominadaCDDB1->isChecked();
}

bool ModeCommands::customOrderArmed() const
{
    return m_items.NumerazioneFiles1->isChecked() && m_state.NumCustomOrder;
}

void ModeCommands::releaseDirectoryBoxes()
{
    m_options.enableDirectoryBoxes(!listModeArmed() && !customOrderArmed());
}

void ModeCommands::disarmCustomOrder()
{
    if (!customOrderArmed())
        return;
    m_items.NumerazioneFiles1->setChecked(false);
    m_state.NumCustomOrder = false;
    releaseDirectoryBoxes();
}

void ModeCommands::disarmListModes()
{
    if (!listModeArmed())
        return;
    m_items.RinominadaFile1->setChecked(false);
    m_items.RinominadaCDDB1->setChecked(false);
    // Numbering asked for in the list dialog was to number the list's files in its order.
    if (m_state.NumAfterList)
        m_items.NumerazioneFiles1->setChecked(false);
    m_state.NumAfterList = false;
    releaseDirectoryBoxes();
}

bool ModeCommands::chooseOrder()
{
    const std::u32string directory = engine::directoryText(m_run.runScope().directory);
    std::vector<TSort::Row> rows;
    std::vector<std::u32string> numbers;
    for (const std::u32string& entry : currentEntries()) {
        TSort::Row row { engine::extract_name(entry) };
        const auto info
            = m_fs.status(platform::encodeName(directory + row.name), platform::Links::DoNotFollow);
        if (info.ok()) {
            row.mtimeNs = info.value().mtimeNs;
            row.size = info.value().size;
        }
        const auto index = static_cast<std::int64_t>(rows.size());
        numbers.push_back(
            engine::Addzero(index * m_state.NumStep + m_state.NumStart, m_state.NumDigits));
        rows.push_back(std::move(row));
    }
    TSort sort(std::move(rows), numbers, &m_window);
    if (m_dialogs.exec(sort) != QDialog::Accepted)
        return false;
    m_state.OrderList = sort.orderList();
    return true;
}

void ModeCommands::EliminaNumerazioneFiles1Click()
{
    QAction& item = *m_items.EliminaNumerazioneFiles1;
    if (!item.isChecked())
        return;
    TDelNumForm form(m_state, *m_items.NumerazioneFiles1, item, &m_window);
    (void)m_dialogs.exec(form);
}

void ModeCommands::EliminaSequenzaCaratteri1Click()
{
    QAction& item = *m_items.EliminaSequenzaCaratteri1;
    if (!item.isChecked())
        return; // disarmed: the text stays but is not used
    m_state.DeleteSeq = m_prompts
                            .input({ "ELIMINA_STRINGA_DA_FILE",
                                lang::LookupConstant(lang::id::ELIMINA_SEQUENZA_CHAR),
                                lang::LookupConstant(lang::id::ELIMINA_STRINGA_DA_FILE), U"" })
                            .value_or(U"");
    if (m_state.DeleteSeq.empty())
        item.setChecked(false);
}

void ModeCommands::SostSeqCar1Click()
{
    QAction& item = *m_items.SostSeqCar1;
    if (!item.isChecked())
        return;
    const std::u32string replace = lang::LookupConstant(lang::id::SOSTITUISCI_STRINGA);
    m_state.ReplaceFrom
        = m_prompts
              .input({ "SOSTITUISCI_STRINGA", lang::LookupConstant(lang::id::SOSTITUISCI_CARATTERI),
                  replace, U"" })
              .value_or(U"");
    if (m_state.ReplaceFrom.empty()) {
        item.setChecked(false);
        return;
    }
    // An empty replacement cannot be armed: deleting is the delete command's job.
    m_state.ReplaceTo = m_prompts
                            .input({ "CON_STRINGA", replace + U": \"" + m_state.ReplaceFrom + U"\"",
                                lang::LookupConstant(lang::id::CON_STRINGA), U"" })
                            .value_or(U"");
    if (m_state.ReplaceTo.empty())
        item.setChecked(false);
}

void ModeCommands::RinominadaFile1Click()
{
    QAction& item = *m_items.RinominadaFile1;
    if (!item.isChecked()) {
        releaseDirectoryBoxes();
        return;
    }
    QFileDialog open(&m_window);
    open.setObjectName(QStringLiteral("OpenDialog1"));
    open.setFileMode(QFileDialog::ExistingFile);
    FileDialogTexts::prepare(open, m_window, FileDialogTexts::Which::OpenDialog1);
    open.setDirectory(toQt(m_run.runScope().directory));
    if (m_dialogs.exec(open) != QDialog::Accepted || open.selectedFiles().isEmpty()) {
        item.setChecked(false);
        return;
    }
    m_options.enableDirectoryBoxes(false);
    m_options.clearDirectoryBoxes();
    const std::u32string listFile
        = platform::decodeName(QFile::encodeName(open.selectedFiles().constFirst()).toStdString());
    alignList(item, *m_items.RinominadaCDDB1,
        engine::readListFile(m_fs, platform::encodeName(listFile), kMaxListNames), listFile);
}

void ModeCommands::alignList(QAction& item, QAction& other, const engine::ListFileNames& read,
    const std::u32string& listFile)
{
    // Whatever was armed before stays as it was until this list is confirmed: another list
    // mode keeps its pairs and its hold on the directory boxes.
    const auto disarm = [&] {
        item.setChecked(false);
        releaseDirectoryBoxes();
    };
    if (!read.refusal.empty()) {
        m_prompts.tell({ "LISTA_NON_VALIDA", engine::Severity::Error,
            lang::formatText(lang::addedText(lang::added::LISTA_NON_VALIDA),
                { listFile, platform::decodeName(read.refusal) }) });
        disarm();
        return;
    }
    TAlignlist align(read.names, currentEntries(), m_prompts, &m_window);
    if (m_dialogs.exec(align) != QDialog::Accepted) {
        disarm();
        return;
    }
    m_state.ListFileName = listFile;
    m_state.OrderList = align.orderList();
    m_state.TargetNames = align.targetNames();
    m_state.NumAfterList = align.numberingAfter();
    // The list's order is the order now; a custom order chosen before it is gone.
    m_state.NumCustomOrder = false;
    other.setChecked(false);
    if (m_state.NumAfterList)
        numberAfterList();
}

void ModeCommands::numberAfterList()
{
    // The numbering command toggles its item; asked for here, numbering is to be armed even
    // when it already was, so its dialog opens either way.
    m_items.NumerazioneFiles1->setChecked(false);
    m_items.NumerazioneFiles1->trigger();
}

void ModeCommands::RinominadaCDDB1Click()
{
    QAction& item = *m_items.RinominadaCDDB1;
    if (!item.isChecked()) {
        releaseDirectoryBoxes();
        return;
    }
    std::u32string path = engine::cdPlayerIniPath(m_cdPlayerIni);
    engine::IniFileRead database = engine::readIniFile(path);
    const bool found = database.file.sectionCount() != 0;
    // The message says which file was tried and offers to point at the right one.
    while (database.file.sectionCount() == 0) {
        std::u32string text = lang::LookupConstant(lang::id::CDPLAYER_INI_VUOTO);
        if (!database.error.empty())
            text += U"\r\n(" + platform::decodeName(database.error) + U")";
        text += U"\r\n"
            + lang::formatText(lang::addedText(lang::added::CDPLAYER_INI_SCEGLI), { path });
        const engine::Button answer
            = m_prompts.ask({ "CDPLAYER_INI_VUOTO", engine::Severity::Warning, text,
                { engine::Button::Yes, engine::Button::No }, engine::Button::Yes });
        std::optional<std::u32string> chosen;
        if (answer == engine::Button::Yes) {
            const std::size_t slash = path.rfind(U'/');
            chosen = m_prompts.chooseFile(
                { "CDPLAYER_INI_TITOLO", lang::addedText(lang::added::CDPLAYER_INI_TITOLO),
                    slash == std::u32string::npos ? std::u32string {} : path.substr(0, slash) });
        }
        if (!chosen) {
            item.setChecked(false);
            return;
        }
        path = *chosen;
        database = engine::readIniFile(path);
    }
    if (!found) {
        // The file the user pointed at is the database from now on, and is stored with the
        // settings as the configured one is.
        m_cdPlayerIni = path;
        emit cdPlayerIniChosen(toQt(path));
    }
    TCDPForm albums(database.file, m_prompts, &m_window);
    if (m_dialogs.exec(albums) != QDialog::Accepted) {
        item.setChecked(false);
        return;
    }
    m_options.enableDirectoryBoxes(false);
    m_options.clearDirectoryBoxes();
    // The titles never were a file: no list file name.
    alignList(item, *m_items.RinominadaFile1,
        engine::cdTrackListNames(albums.titles(), kMaxListNames), {});
}

} // namespace quorvane::app
