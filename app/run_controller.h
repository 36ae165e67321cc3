// The main window's button column and the runs it starts: "Anteprima", "Rinomina",
// "Annulla".
#pragma once

#include "engine/rename_options.h"
#include "engine/run_scope.h"
#include "engine/run_state.h"
#include "platform/collator.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace quorvane::engine {
class Prompts;
}
namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::app {

class BrowsePane;
class DialogHost;
class OptionsPanel;
class RunProgress;

/// Panel3. Takes the run's options from `options` and its entries from `browse`, runs,
/// undoes and previews through the engine, and shows the outcome on the buttons, the
/// lists and (through titleChanged) the window title. Everything it is given belongs to
/// the window and outlives it.
class RunController final : public QWidget
{
    Q_OBJECT
public:
    RunController(engine::Prompts& prompts, platform::FileSystem& fs, DialogHost& dialogs,
        engine::RunState& state, OptionsPanel& options, BrowsePane& browse, QWidget* parent);
    ~RunController() override;

    /// The run's scope as the window stands now: the browsing side's directory, mask and
    /// selection with the option panel's words.
    [[nodiscard]] engine::RunScope runScope() const;

    // Handlers, named as the program names them.
    void BitBtn1Click(); ///< "Rinomina"
    void UNDO(); ///< "Annulla"
    void BitBtn4Click(); ///< "Anteprima"

    /// The last run can no longer be undone (its directory was renamed).
    void disableUndo();

signals:
    /// A run ended with this summary for the window title.
    void titleChanged(const QString& title);
    /// "About" was pressed.
    void aboutRequested();

private:
    void createButtons();

    engine::Prompts& m_prompts;
    platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    engine::RunState& m_state;
    OptionsPanel& m_options;
    BrowsePane& m_browse;
    platform::Collator m_collator;
    std::unique_ptr<RunProgress> m_progress;

    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

} // namespace quorvane::app
