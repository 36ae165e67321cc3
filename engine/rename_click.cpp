// The "Rinomina" button: the confirmations around a run and the return to the idle state.
#include "rename_run.h"

#include "scope_exit.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

namespace quorvane::engine {

RunReport RenameRun::BitBtn1Click()
{
    m_report = RunReport {};
    m_state.RenamedCount = 0;
    if (m_state.PlatformKind == U"NT")
        m_hooks.monitorOff();
    m_hooks.setRenameButton(false, lang::LookupConstant("ATTENDERE"));
    {
        // The button, the monitor and the one-run items never stay in the running state,
        // whatever ends the run.
        const OnScopeExit finisher([this] { finishClick(); });
        const std::u32string directory = m_scope.directory;

        if (m_scope.selection.size() == 1) {
            // Enter means the one selected file: the smaller run is the safe reflex.
            const Button answer = m_prompts.ask({ "UN_FILE_O_TUTTI", Severity::Confirmation,
                lang::LookupConstant("UN_FILE_O_TUTTI"),
                { Button::Ok, Button::All, Button::Cancel }, Button::Ok });
            if (answer == Button::Cancel) {
                m_report.aborted = true;
                return m_report;
            }
            if (answer == Button::All) {
                m_scope.selection.clear();
                m_hooks.clearSelection();
            }
        }
        if (!checkSelection())
            return m_report;
        if (!m_scope.selection.empty()) {
            m_scope.CheckBox7 = false;
            m_scope.CheckBox5 = false;
            m_scope.CheckBox10 = false;
        }

        if (!m_fs.isDangerousDirectory(platform::encodeName(directory))) {
            RunRename(directory);
        } else {
            // Paths are case-sensitive here, so the directory is shown as it is spelt.
            const Button answer = m_prompts.ask({ "NUMERAZIONE_PERICOLOSA", Severity::Warning,
                lang::formatText(lang::LookupConstant("NUMERAZIONE_PERICOLOSA"), { directory }),
                { Button::Abort, Button::Ignore }, Button::Abort });
            if (answer == Button::Ignore)
                RunRename(directory);
            else
                m_report.aborted = true;
        }
    }
    return m_report;
}

void RenameRun::finishClick()
{
    std::u32string caption = U"Rinomina";
    try {
        caption = lang::LookupConstant("RINOMINA");
    } catch (...) { // NOLINT(bugprone-empty-catch): the built-in caption will do
    }
    m_options.Rinominainformato831 = false;
    m_options.EliminaSequenzaCaratteri1 = false;
    m_options.EliminaNumerazioneFiles1 = false;
    m_options.RinominadaFile1 = false;
    m_options.RinominadaCDDB1 = false;
    m_options.SostSeqCar1 = false;
    m_scope.CheckBox7Enabled = !m_scope.CheckBox5;
    m_scope.CheckBox10Enabled = true;
    m_state.NumCustomOrder = false;
    m_state.NumAfterList = false;
    try {
        m_hooks.setRenameButton(true, caption);
        m_hooks.scopeChanged(m_scope);
        if (m_state.PlatformKind == U"NT")
            m_hooks.monitorOn();
    } catch (...) { // NOLINT(bugprone-empty-catch): a failing window hook must not end the program
    }
}

} // namespace quorvane::engine
