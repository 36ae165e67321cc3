// The main window's handlers: the option rules, "Rinomina", "Annulla" and "Anteprima".
#include "tform1.h"

#include "dialog_host.h"
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "filter_combo_box.h"
#include "qt_text.h"
#include "tform1_hooks.h"
#include "tpreview.h"

#include "engine/preview_marks.h"
#include "engine/rename_run.h"
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

void TForm1::connectSignals()
{
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded([this] { UNDO(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn4Click(); }); });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
    connect(CheckBox6, &QCheckBox::clicked, this, &TForm1::CheckBox6Click);
    connect(CheckBox5, &QCheckBox::clicked, this, &TForm1::CheckBox5Click);
    connect(RadioButton1, &QRadioButton::toggled, this, &TForm1::ChkAttr);
    connect(RadioButton2, &QRadioButton::toggled, this, &TForm1::ChkAttr);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        Splittabox();
        Aggiorna_StatusBar();
    });
    connect(DirectoryListBox1, &tDirectoryListBoxSpecial::directoryChanged, this,
        [this] { guarded([this] { DirectoryListBox1Change(); }); });
    connect(DriveComboBox1, &DriveComboBox::driveChosen, this, [this] {
        guarded([this] {
            DirectoryListBox1->setDirectory(DriveComboBox1->currentRoot());
            DirectoryListBox1Change();
        });
    });
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this,
        [this] { guarded([this] { FileListBox1->setMask(FilterComboBox1->mask()); }); });
    connect(FileListBox1, &FileListBox::listChanged, this, &TForm1::Aggiorna_StatusBar);
    connect(aggiorna, &QToolButton::clicked, this, [this] {
        guarded([this] {
            DirectoryListBox1->update();
            FileListBox1->update();
        });
    });
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
        CheckBox10->setText(constantText("RINOMINA_SOTTODIR"));
        CheckBox10->setToolTip(constantText("RINOMINA_SOTTODIR_HINT"));
    } else {
        CheckBox7->setEnabled(true);
        CheckBox10->setText(constantText("RINOMINA_FILES_IN_SOTTODIR"));
        CheckBox10->setToolTip(constantText("RINOMINA_FILES_IN_SOTTODIR_HINT"));
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
    engine::RunScope s;
    s.directory = DirectoryListBox1->directory();
    s.mask = FilterComboBox1->mask();
    s.selection = FileListBox1->selectedNames();
    s.CheckBox7 = CheckBox7->isChecked();
    s.CheckBox10 = CheckBox10->isChecked();
    s.CheckBox5 = CheckBox5->isChecked();
    s.CheckBox7Enabled = CheckBox7->isEnabled();
    s.CheckBox10Enabled = CheckBox10->isEnabled();
    s.RadioButton1 = RadioButton1->isChecked();
    s.CheckBox1 = CheckBox1->isChecked();
    s.CheckBox2 = CheckBox2->isChecked();
    s.CheckBox3 = CheckBox3->isChecked();
    s.CheckBox4 = CheckBox4->isChecked();
    return s;
}

void TForm1::applyScope(const engine::RunScope& scope)
{
    const bool onlyDirectoriesChanged = CheckBox5->isChecked() != scope.CheckBox5;
    CheckBox7->setChecked(scope.CheckBox7);
    CheckBox5->setChecked(scope.CheckBox5);
    CheckBox10->setChecked(scope.CheckBox10);
    // "I files nelle sottodirectory" takes its other caption only when "Solo le Directory"
    // really changed.
    if (onlyDirectoriesChanged)
        CheckBox5Click();
    CheckBox7->setEnabled(scope.CheckBox7Enabled);
    CheckBox10->setEnabled(scope.CheckBox10Enabled);
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
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_hooks);
    try {
        (void)run.BitBtn1Click();
    } catch (...) {
        applyOneRunItems(options);
        throw;
    }
    applyOneRunItems(options);
}

void TForm1::UNDO()
{
    engine::UndoRun undo(m_fs, m_state, m_prompts, *m_hooks);
    (void)undo.UNDO();
}

void TForm1::BitBtn4Click()
{
    engine::RenameOptions options = renameOptions();
    engine::RunScope scope = runScope();
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_hooks);
    try {
        run.Preview();
    } catch (const engine::RunError& e) {
        m_prompts.tell(
            { "RUN_ERROR", engine::Severity::Error, toCore(QString::fromUtf8(e.what())) });
        return;
    }
    std::vector<engine::PreviewMark> marks = engine::markPreviewRows(m_state.previewRows, m_fs);
    TPreview preview(m_state.previewRows, std::move(marks), this);
    m_dialogs.exec(preview);
}

void TForm1::showProgress(int processed)
{
    BitBtn1->setText(QStringLiteral("%1 %2").arg(constantText("ATTENDERE")).arg(processed));
}

// --- hooks ---------------------------------------------------------------------------

void TForm1::WindowHooks::setRenameButton(bool enabled, const std::u32string& caption)
{
    m_window.BitBtn1->setEnabled(enabled);
    m_window.BitBtn1->setText(toDisplay(caption));
    m_running = !enabled;
    m_sincePaint.start();
}

void TForm1::WindowHooks::clearSelection()
{
    m_window.FileListBox1->clearSelection();
}

void TForm1::WindowHooks::refreshFileList()
{
    m_window.FileListBox1->update();
}

void TForm1::WindowHooks::refreshLists()
{
    m_window.DirectoryListBox1->update();
    m_window.FileListBox1->update();
    m_window.Aggiorna_StatusBar();
}

void TForm1::WindowHooks::setTitle(const std::u32string& title)
{
    m_window.setWindowTitle(toDisplay(title));
}

void TForm1::WindowHooks::setUndoEnabled(bool enabled)
{
    m_window.BitBtn3->setEnabled(enabled);
}

void TForm1::WindowHooks::scopeChanged(const engine::RunScope& scope)
{
    m_window.applyScope(scope);
}

void TForm1::WindowHooks::progress(int processed)
{
    // A long run keeps the window painted and counts on the button; user input waits
    // until the run is over, so nothing can change under it. Outside a run (a preview)
    // the button keeps its caption: nothing would ever put "Rinomina" back.
    if (!m_running || (m_sincePaint.isValid() && m_sincePaint.elapsed() < 100))
        return;
    m_window.showProgress(processed);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sincePaint.start();
}

} // namespace quorvane::app
