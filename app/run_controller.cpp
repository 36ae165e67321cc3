// The main window's button column and the runs it starts.
#include "run_controller.h"

#include "browse_pane.h"
#include "dialog_host.h"
#include "options_panel.h"
#include "qt_text.h"
#include "run_progress.h"
#include "slot_guard.h"
#include "tpreview.h"

#include "engine/journal_writer.h"
#include "engine/preview_marks.h"
#include "engine/prompts.h"
#include "engine/rename_run.h"
#include "engine/scope_exit.h"
#include "engine/transform_name.h"
#include "engine/undo_run.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quorvane::app {

RunController::RunController(engine::Prompts& prompts, platform::FileSystem& fs,
    DialogHost& dialogs, engine::RunState& state, OptionsPanel& options, BrowsePane& browse,
    QWidget* parent)
    : QWidget(parent)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
    , m_state(state)
    , m_options(options)
    , m_browse(browse)
{
    setObjectName(QStringLiteral("Panel3"));
    createButtons();
    m_progress = std::make_unique<RunProgress>(*BitBtn1, m_browse);
    const auto handle = [this](void (RunController::*handler)()) {
        return guardedSlot(m_prompts, this, handler);
    };
    connect(BitBtn1, &QPushButton::clicked, this, handle(&RunController::BitBtn1Click));
    connect(BitBtn3, &QPushButton::clicked, this, handle(&RunController::UNDO));
    connect(BitBtn4, &QPushButton::clicked, this, handle(&RunController::BitBtn4Click));
    connect(BitBtn2, &QPushButton::clicked, this, &RunController::aboutRequested);
}

RunController::~RunController() = default;

void RunController::createButtons()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 4, 3, 4);
    const auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        return b;
    };
    BitBtn4
        = button("BitBtn4", "Anteprima", "Mostra un'anteprima di come verranno modificati i files");
    BitBtn1 = button("BitBtn1", "Rinomina", "Rinomina i file secondo i criteri scelti");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setMinimumHeight(44);
    BitBtn3 = button("BitBtn3", "Annulla",
        "UNDO. ATTENZIONE: non ripristina gli attributi se son stati modificati");
    BitBtn3->setEnabled(false);
    BitBtn2 = button("BitBtn2", "About", "Chi ha fatto questo bel programma ? :-)");
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    for (QPushButton* b : { BitBtn4, BitBtn1, BitBtn3, BitBtn2 })
        column->addWidget(b);
}

engine::RunScope RunController::runScope() const
{
    engine::RunScope scope = m_options.scopeOptions();
    scope.directory = m_browse.directory();
    scope.mask = m_browse.mask();
    scope.selection = m_browse.selectedNames();
    return scope;
}

void RunController::disableUndo()
{
    BitBtn3->setEnabled(false);
}

void RunController::BitBtn1Click()
{
    engine::RenameOptions options = m_options.renameOptions();
    engine::RunScope scope = runScope();
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_progress);
    engine::JournalWriter journal(engine::defaultRunsDirectory());
    run.setJournal(&journal);
    m_browse.setMonitorActive(false);
    BitBtn1->setEnabled(false);
    BitBtn1->setText(constantText(lang::id::ATTENDERE));
    m_progress->start();
    // The button, the one-run items and the monitor never stay in the running state,
    // whatever ends the run.
    const engine::OnScopeExit idle([&] {
        m_progress->finish();
        BitBtn1->setText(constantText(lang::id::RINOMINA));
        BitBtn1->setEnabled(true);
        m_options.applyOneRunItems(options);
        m_options.applyScope(scope);
        if (scope.selection.empty())
            m_browse.clearSelection();
        m_browse.setMonitorActive(true);
    });
    const engine::RunSummary summary = run.BitBtn1Click();
    if (!summary.ran)
        return;
    m_browse.rereadAll();
    emit titleChanged(toDisplay(engine::runTitle(summary)));
    // Enabled whatever ended the run: what was renamed before an error can be undone.
    BitBtn3->setEnabled(true);
}

void RunController::UNDO()
{
    m_browse.setMonitorActive(false);
    engine::UndoRun undo(m_fs, m_state, m_prompts, *m_progress);
    engine::JournalWriter journal(engine::defaultRunsDirectory());
    undo.setJournal(&journal);
    std::vector<std::size_t> givenUp;
    const engine::OnScopeExit idle([&] {
        m_browse.rereadAll();
        // An undo refused for want of a journal has not happened: it can still be made. One
        // that left names behind can be made again for them, once the user cleared the way.
        BitBtn3->setEnabled(undo.refused() || !givenUp.empty());
        m_browse.setMonitorActive(true);
    });
    givenUp = undo.UNDO();
    if (!givenUp.empty()) {
        // Only what was not restored stays to be undone: the rest has its old name again.
        std::vector<bool> keep(m_state.undo.size(), false);
        for (const std::size_t index : givenUp)
            keep[index] = true;
        m_state.undo.retainRows(keep);
    }
}

void RunController::BitBtn4Click()
{
    engine::RenameOptions options = m_options.renameOptions();
    engine::RunScope scope = runScope();
    engine::RenameRun run(m_fs, m_collator, options, m_state, scope, m_prompts, *m_progress);
    std::vector<engine::PreviewMark> marks;
    {
        // A directory of a million entries takes a second or two to work out: the pointer
        // says so until the preview opens.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const engine::OnScopeExit pointerBack([] { QApplication::restoreOverrideCursor(); });
        try {
            run.Preview();
        } catch (const engine::RunError& e) {
            m_prompts.tell(
                { "RUN_ERROR", engine::Severity::Error, toCore(QString::fromUtf8(e.what())) });
            return;
        }
        if (!run.summary().refused.empty())
            return;
        marks = engine::markPreviewRows(m_state.previewRows, m_fs);
    }
    TPreview preview(m_state.previewRows, std::move(marks), this);
    m_dialogs.exec(preview);
}

} // namespace quorvane::app
