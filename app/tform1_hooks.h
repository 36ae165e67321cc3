// The main window's side of a run and of an undo.
#pragma once

#include "tform1.h"

#include "engine/run_scope.h"

#include <QElapsedTimer>

namespace quorvane::app {

/// Carries the engine's hooks to the window's controls.
class TForm1::WindowHooks final : public engine::RunHooks
{
public:
    explicit WindowHooks(TForm1& window)
        : m_window(window)
    { }

    void monitorOff() override { m_window.setMonitorActive(false); }
    void monitorOn() override { m_window.setMonitorActive(true); }
    void setRenameButton(bool enabled, const std::u32string& caption) override;
    void clearSelection() override;
    void refreshFileList() override;
    void refreshLists() override;
    void setTitle(const std::u32string& title) override;
    void setUndoEnabled(bool enabled) override;
    void scopeChanged(const engine::RunScope& scope) override;
    void progress(int processed) override;

private:
    TForm1& m_window;
    QElapsedTimer m_sincePaint;
    bool m_running = false; ///< a run holds the "Rinomina" button
};

} // namespace quorvane::app
