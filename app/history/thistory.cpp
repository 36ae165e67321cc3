// The history of recorded runs and the undo of the selected one.
#include "thistory.h"

#include "app/qt_text.h"
#include "app/tlanguage_controller.h"

#include "engine/interrupted_run.h"
#include "engine/recorded_undo.h"
#include "lang/added_texts.h"
#include "platform/locale_time.h"
#include "platform/name_codec.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorvane::app {

namespace {

QString added(lang::ConstantId id)
{
    return toQt(lang::addedText(id));
}

QString stateText(const engine::RecordedRun& run)
{
    switch (run.state) {
    case engine::RecordedState::Complete:
        return added(lang::added::CRONOLOGIA_COMPLETATA);
    case engine::RecordedState::Stopped:
        return added(lang::added::CRONOLOGIA_FERMATA);
    case engine::RecordedState::Interrupted:
        return added(lang::added::CRONOLOGIA_INTERROTTA);
    case engine::RecordedState::Undone:
        return added(lang::added::CRONOLOGIA_ANNULLATA);
    }
    return {};
}

/// What the run was: an undo must not read as one more run.
QString kindText(engine::JournalKind kind)
{
    switch (kind) {
    case engine::JournalKind::Run:
        return added(lang::added::CRONOLOGIA_TIPO_RINOMINA);
    case engine::JournalKind::Undo:
        return added(lang::added::CRONOLOGIA_TIPO_ANNULLAMENTO);
    case engine::JournalKind::OneFile:
        return added(lang::added::CRONOLOGIA_TIPO_FILE);
    case engine::JournalKind::Directory:
        return added(lang::added::CRONOLOGIA_TIPO_DIRECTORY);
    }
    return {};
}

QString dateText(std::int64_t nanoseconds)
{
    const platform::LocalDateTime t = platform::localDateTime(nanoseconds);
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(t.day, 2, 10, QLatin1Char('0'))
        .arg(t.month, 2, 10, QLatin1Char('0'))
        .arg(t.year)
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'))
        .arg(t.second, 2, 10, QLatin1Char('0'));
}

} // namespace

THistory::THistory(const engine::JournalStore& store, platform::FileSystem& fs,
    engine::Prompts& prompts, engine::RunObserver& progress, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_fs(fs)
    , m_prompts(prompts)
    , m_progress(progress)
{
    setObjectName(QStringLiteral("THistory"));
    setWindowTitle(added(lang::added::CRONOLOGIA));
    auto* layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, 5, this);
    m_grid->setObjectName(QStringLiteral("HistoryGrid"));
    m_grid->setHorizontalHeaderLabels({ added(lang::added::CRONOLOGIA_DATA),
        added(lang::added::CRONOLOGIA_OPERAZIONE), added(lang::added::CRONOLOGIA_DIRECTORY),
        added(lang::added::CRONOLOGIA_FILES), added(lang::added::CRONOLOGIA_STATO) });
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    layout->addWidget(m_grid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_undoButton
        = buttons->addButton(added(lang::added::CRONOLOGIA_ANNULLA), QDialogButtonBox::ActionRole);
    m_undoButton->setObjectName(QStringLiteral("UndoButton"));
    layout->addWidget(buttons);
    resize(640, 360);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_undoButton, &QPushButton::clicked, this, &THistory::UndoClick);
    connect(m_grid, &QTableWidget::itemSelectionChanged, this, &THistory::updateButton);
    reload();
    // Last, as on every form. The texts above are those of the language in force, which the
    // dialog (modal, made anew each time) keeps until it closes; the template is made in
    // Italian, so its defaults are the built-in texts.
    new TLanguageController(this, "History");
}

const engine::RecordedRun& THistory::runAt(int row) const
{
    return m_runs.at(static_cast<std::size_t>(row));
}

int THistory::rowCount() const
{
    return static_cast<int>(m_runs.size());
}

void THistory::reload()
{
    std::vector<engine::RecordedRun> runs = m_store.runs();
    m_runs.assign(runs.rbegin(), runs.rend());
    m_grid->setRowCount(rowCount());
    for (int row = 0; row < rowCount(); ++row) {
        const engine::RecordedRun& run = runAt(row);
        // The files the run really renamed, not those it planned to.
        const QStringList cells { dateText(run.created), kindText(run.kind),
            toDisplay(platform::decodeName(run.directory)), QString::number(run.renamed),
            stateText(run) };
        for (int column = 0; column < cells.size(); ++column)
            m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_grid->resizeColumnToContents(0);
    m_grid->resizeColumnToContents(1);
    if (rowCount() > 0)
        m_grid->selectRow(0);
    updateButton();
}

bool THistory::canUndo(int row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    const engine::RecordedRun& run = runAt(row);
    if (run.running)
        return false;
    // A finished undo is not undone in turn; an interrupted one is finished instead.
    if (run.kind == engine::JournalKind::Undo)
        return run.state == engine::RecordedState::Interrupted;
    return run.state != engine::RecordedState::Undone;
}

void THistory::updateButton()
{
    m_undoButton->setEnabled(canUndo(m_grid->currentRow()));
}

void THistory::UndoClick()
{
    const int row = m_grid->currentRow();
    if (!canUndo(row))
        return;
    emit undoStarting();
    engine::RecordedUndo undo(m_fs, m_store, m_prompts, m_progress);
    const engine::RecordedUndoReport report = undo.undo(runAt(row).id);
    emit undoFinished();
    engine::tellUndoOutcome(m_prompts, report);
    reload();
}

} // namespace quorvane::app
