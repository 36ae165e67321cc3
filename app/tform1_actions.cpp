// The main window's handlers: the option rules, "Rinomina", "Annulla" and "Anteprima".
#include "tform1.h"

#include "dialog_host.h"
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "filter_combo_box.h"
#include "qt_text.h"
#include "run_progress.h"
#include "tpreview.h"

#include "engine/preview_marks.h"
#include "engine/rename_run.h"
#include "engine/scope_exit.h"
#include "engine/transform_name.h"
#include "engine/undo_run.h"
#include "lang/lang_error.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QToolButton>

namespace quorvane::app {

void TForm1::guarded(const std::function<void()>& handler)
{
    // Qt cannot carry an exception through its event loop: an error that escapes a
    // handler is shown here, as the program's general error box, and the program goes on.
    try {
        handler();
    } catch (const std::exception& e) {
        m_prompts.tell({ "ERROR", engine::Severity::Error, toCore(QString::fromUtf8(e.what())) });
    }
}

std::function<void()> TForm1::guardedSlot(Handler handler)
{
    return [this, handler] { guarded([this, handler] { (this->*handler)(); }); };
}

void TForm1::connectSignals()
{
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded([this] { UNDO(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn4Click(); }); });
    // Every slot runs inside guarded(): an error reaches the user as a message and never
    // escapes into Qt's event loop.
    const auto handle = [this](Handler handler) { return guardedSlot(handler); };
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, handle(&TForm1::ComboBox1Change));
    connect(CheckBox6, &QCheckBox::clicked, this, handle(&TForm1::CheckBox6Click));
    connect(CheckBox5, &QCheckBox::clicked, this, handle(&TForm1::CheckBox5Click));
    connect(RadioButton1, &QRadioButton::toggled, this, handle(&TForm1::ChkAttr));
    connect(RadioButton2, &QRadioButton::toggled, this, handle(&TForm1::ChkAttr));
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        guarded([this] {
            Splittabox();
            Aggiorna_StatusBar();
        });
    });
    connect(DirectoryListBox1, &tDirectoryListBoxSpecial::directoryChanged, this,
        [this] { guarded([this] { DirectoryListBox1Change(); }); });
    // The drive list, the filter, the file list and the refresh button are wired once, with
    // the file list's commands.
}

void TForm1::DirectoryListBox1Change()
{
    const std::u32string directory = DirectoryListBox1->directory();
    Edit1->setText(toDisplay(directory));
    FileListBox1->setDirectory(directory);
    DriveComboBox1->setDirectory(directory);
    followWithMonitor();
    clearListModes();
    Edit1Change();
    Aggiorna_StatusBar();
}

void TForm1::ComboBox1Change()
{
    const bool optimize = ComboBox1->currentIndex() == engine::kCaseOptimize;
    CheckBox9->setVisible(optimize);
    CheckBox6->setVisible(optimize);
    CheckBox12->setVisible(optimize);
}

void TForm1::CheckBox6Click()
{
    CheckBox12->setEnabled(!CheckBox6->isChecked());
    if (CheckBox6->isChecked())
        CheckBox12->setChecked(true);
}

void TForm1::CheckBox5Click()
{
    if (CheckBox5->isChecked()) {
        CheckBox7->setEnabled(false);
        CheckBox7->setChecked(true);
        CheckBox10->setText(constantText(lang::id::RINOMINA_SOTTODIR));
        CheckBox10->setToolTip(constantText(lang::id::RINOMINA_SOTTODIR_HINT));
    } else {
        CheckBox7->setEnabled(true);
        CheckBox10->setText(constantText(lang::id::RINOMINA_FILES_IN_SOTTODIR));
        CheckBox10->setToolTip(constantText(lang::id::RINOMINA_FILES_IN_SOTTODIR_HINT));
    }
}

void TForm1::ChkAttr()
{
    const bool set = RadioButton2->isChecked();
    for (QCheckBox* box : { CheckBox1, CheckBox2, CheckBox3, CheckBox4 })
        box->setEnabled(set);
}

engine::RenameOptions TForm1::renameOptions() const
{
    engine::RenameOptions o;
    o.ComboBox1 = ComboBox1->currentIndex();
    o.CheckBox9 = CheckBox9->isChecked();
    o.CheckBox6 = CheckBox6->isChecked();
    o.CheckBox12 = CheckBox12->isChecked();
    o.CheckBox8 = CheckBox8->isChecked();
    o.CheckBox11 = CheckBox11->isChecked();
    o.dosnames1 = dosnames1->isChecked();
    o.HandleAccents = Gestiscilettereaccentate1->isChecked();
    o.CompactSpaces = Compattaspazivuoti1->isChecked();
    o.KeepExtDot = Noneliminaredellestensione1->isChecked();
    o.Rinominainformato831 = Rinominainformato831->isChecked();
    o.NumerazioneFiles1 = NumerazioneFiles1->isChecked();
    o.EliminaNumerazioneFiles1 = EliminaNumerazioneFiles1->isChecked();
    o.EliminaSequenzaCaratteri1 = EliminaSequenzaCaratteri1->isChecked();
    o.SostSeqCar1 = SostSeqCar1->isChecked();
    o.RinominadaFile1 = RinominadaFile1->isChecked();
    o.RinominadaCDDB1 = RinominadaCDDB1->isChecked();
    return o;
}

engine::RunScope TForm1::runScope() const
{
    // The one place where the window's controls become the run's words.
    engine::RunScope s;
    s.directory = DirectoryListBox1->directory();
    s.mask = FilterComboBox1->mask();
    s.selection = FileListBox1->selectedNames();
    s.renameDirectories = CheckBox7->isChecked();
    s.recursive = CheckBox10->isChecked();
    s.directoriesOnly = CheckBox5->isChecked();
    s.setAttributes = RadioButton2->isChecked();
    s.readOnly = CheckBox1->isChecked();
    s.hidden = CheckBox2->isChecked();
    s.system = CheckBox3->isChecked();
    s.archive = CheckBox4->isChecked();
    return s;
}

void TForm1::applyScope(const engine::RunScope& scope)
{
    const bool onlyDirectoriesChanged = CheckBox5->isChecked() != scope.directoriesOnly;
    CheckBox7->setChecked(scope.renameDirectories);
    CheckBox5->setChecked(scope.directoriesOnly);
    CheckBox10->setChecked(scope.recursive);
    // "I files nelle sottodirectory" takes its other caption only when "Solo le Directory"
    // really changed.
    if (onlyDirectoriesChanged)
        CheckBox5Click();
    // After a run the directory boxes are free again (a list mode had disabled them).
    CheckBox7->setEnabled(!scope.directoriesOnly);
    CheckBox10->setEnabled(true);
    if (scope.selection.empty())
        FileListBox1->clearSelection();
}

void TForm1::applyOneRunItems(const engine::RenameOptions& options)
{
    Rinominainformato831->setChecked(options.Rinominainformato831);
    NumerazioneFiles1->setChecked(options.NumerazioneFiles1);
    EliminaNumerazioneFiles1->setChecked(options.EliminaNumerazioneFiles1);
    EliminaSequenzaCaratteri1->setChecked(options.EliminaSequenzaCaratteri1);
    SostSeqCar1->setChecked(options.SostSeqCar1);
    RinominadaFile1->setChecked(options.RinominadaFile1);
    RinominadaCDDB1->setChecked(options.RinominadaCDDB1);
}

void TForm1::BitBtn1Click()
{
    engine::RenameOptions options = renameOptions();
    engine::RunScope scope = runScope();
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_progress);
    setMonitorActive(false);
    BitBtn1->setEnabled(false);
    BitBtn1->setText(constantText(lang::id::ATTENDERE));
    m_progress->start();
    // The button, the one-run items and the monitor never stay in the running state,
    // whatever ends the run.
    const engine::OnScopeExit idle([&] {
        m_progress->finish();
        BitBtn1->setText(constantText(lang::id::RINOMINA));
        BitBtn1->setEnabled(true);
        applyOneRunItems(options);
        applyScope(scope);
        setMonitorActive(true);
    });
    const engine::RunSummary summary = run.BitBtn1Click();
    if (!summary.ran)
        return;
    DirectoryListBox1->update();
    FileListBox1->update();
    Aggiorna_StatusBar();
    setWindowTitle(toDisplay(engine::runTitle(summary)));
    // Enabled whatever ended the run: what was renamed before an error can be undone.
    BitBtn3->setEnabled(true);
}

void TForm1::UNDO()
{
    setMonitorActive(false);
    const engine::OnScopeExit idle([&] {
        DirectoryListBox1->update();
        FileListBox1->update();
        Aggiorna_StatusBar();
        BitBtn3->setEnabled(false);
        setMonitorActive(true);
    });
    engine::UndoRun undo(m_fs, m_state, m_prompts, *m_progress);
    (void)undo.UNDO();
}

void TForm1::BitBtn4Click()
{
    engine::RenameOptions options = renameOptions();
    engine::RunScope scope = runScope();
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_progress);
    try {
        run.Preview();
    } catch (const engine::RunError& e) {
        m_prompts.tell(
            { "RUN_ERROR", engine::Severity::Error, toCore(QString::fromUtf8(e.what())) });
        return;
    }
    if (!run.summary().refused.empty())
        return;
    std::vector<engine::PreviewMark> marks = engine::markPreviewRows(m_state.previewRows, m_fs);
    TPreview preview(m_state.previewRows, std::move(marks), this);
    m_dialogs.exec(preview);
}

} // namespace quorvane::app
