// The window's view of a run in progress: the count on the button, the list re-read
// before a refusal is asked about, and Escape to stop between two entries.
#pragma once

#include "engine/run_observer.h"

#include <QElapsedTimer>

class QPushButton;

namespace quorvane::app {

class BrowsePane;

/// Shows a run or an undo while it works. Owns no widget.
class RunProgress final : public engine::RunObserver
{
public:
    RunProgress(QPushButton& button, BrowsePane& browse);

    /// The button counts from now on ("Attendere... N"), Escape stops the run and the
    /// lists wait for it; finish() ends all three.
    void start();
    void finish();
    [[nodiscard]] bool running() const { return m_running; }

    void entryRefused(const std::u32string& directory, const std::u32string& oldName,
        const platform::SysError& error) override;
    void progress(int processed) override;
    /// Escape, or the program asked to end from outside.
    [[nodiscard]] bool stopRequested() override;

private:
    QPushButton& m_button;
    BrowsePane& m_browse;
    QElapsedTimer m_sincePaint;
    bool m_running = false; ///< a run holds the "Rinomina" button
    bool m_stopRequested = false;
};

} // namespace quorvane::app
