// The history of recorded runs ("Cronologia operazioni"): date, directory, count and state
// of every run the journal keeps, and the undo of the selected one.
#pragma once

#include "engine/journal_store.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

namespace quorvane::engine {
class Prompts;
class RunObserver;
} // namespace quorvane::engine
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

/// Lists the runs of `store`, newest first. "Annulla l'operazione" undoes the selected run
/// (an interrupted undo row finishes its run's undo) through engine::RecordedUndo, tells
/// what it could not restore, and reads the history again. Rows that cannot be undone
/// (already undone, a finished undo) leave the button disabled. Everything it is given
/// outlives it.
class THistory final : public QDialog
{
    Q_OBJECT
public:
    THistory(const engine::JournalStore& store, platform::FileSystem& fs, engine::Prompts& prompts,
        engine::RunObserver& progress, QWidget* parent);

    /// The run shown in `row` (0 = newest); for tests and for the window's own use.
    [[nodiscard]] const engine::RecordedRun& runAt(int row) const;
    [[nodiscard]] int rowCount() const;
    /// Reads the store again and fills the table.
    void reload();
    /// The button's action for the selected row.
    void UndoClick();

signals:
    /// Just before an undo touches the disk: the window switches its directory monitor off.
    void undoStarting();
    /// After an undo: the window re-reads its lists and switches the monitor on again.
    void undoFinished();

private:
    void updateButton();
    [[nodiscard]] bool canUndo(int row) const;

    const engine::JournalStore& m_store;
    platform::FileSystem& m_fs;
    engine::Prompts& m_prompts;
    engine::RunObserver& m_progress;
    std::vector<engine::RecordedRun> m_runs; ///< newest first, as shown
    QTableWidget* m_grid = nullptr;
    QPushButton* m_undoButton = nullptr;
};

} // namespace quorvane::app
