// The "Rinomina" button: the questions around a run and the one-run items switched off.
#include "rename_run.h"

#include "scope_exit.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

namespace quorvane::engine {

RunSummary RenameRun::BitBtn1Click()
{
    m_summary = RunSummary {};
    m_state.RenamedCount = 0;
    // The one-run items are switched off whatever ends the run, also an error.
    const OnScopeExit finisher([this] { finishClick(); });
    const std::u32string directory = m_scope.directory;

    if (m_scope.selection.size() == 1) {
        // Enter means the one selected file: the smaller run is the safe reflex.
        const Button answer = m_prompts.ask({ "UN_FILE_O_TUTTI", Severity::Confirmation,
            lang::LookupConstant(lang::id::UN_FILE_O_TUTTI),
            { Button::Ok, Button::All, Button::Cancel }, Button::Ok });
        if (answer == Button::Cancel) {
            m_summary.aborted = true;
            return m_summary;
        }
        if (answer == Button::All)
            m_scope.selection.clear();
    }
    if (!checkSelection())
        return m_summary;
    m_scope.applySelection();

    if (!m_fs.isDangerousDirectory(platform::encodeName(directory))) {
        RunRename(directory);
    } else {
        // Paths are case-sensitive here, so the directory is shown as it is spelt.
        const Button answer = m_prompts.ask({ "NUMERAZIONE_PERICOLOSA", Severity::Warning,
            lang::formatText(lang::LookupConstant(lang::id::NUMERAZIONE_PERICOLOSA), { directory }),
            { Button::Abort, Button::Ignore }, Button::Abort });
        if (answer == Button::Ignore)
            RunRename(directory);
        else
            m_summary.aborted = true;
    }
    return m_summary;
}

void RenameRun::finishClick()
{
    m_options.Rinominainformato831 = false;
    m_options.EliminaSequenzaCaratteri1 = false;
    m_options.EliminaNumerazioneFiles1 = false;
    m_options.RinominadaFile1 = false;
    m_options.RinominadaCDDB1 = false;
    m_options.SostSeqCar1 = false;
    m_state.NumCustomOrder = false;
    m_state.NumAfterList = false;
}

} // namespace quorvane::engine
