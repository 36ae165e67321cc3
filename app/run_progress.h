// The window's view of a run in progress: the count on the button, the list re-read
// before a refusal is asked about.
#pragma once

#include "engine/run_observer.h"

#include <QElapsedTimer>

class QPushButton;

namespace quorvane::app {

class FileListBox;

/// Shows a run or an undo while it works. Owns no widget.
class RunProgress final : public engine::RunObserver
{
public:
    RunProgress(QPushButton& button, FileListBox& fileList);

    /// The button counts from now on ("Attendere... N"); finish() stops that.
    void start();
    void finish();

    void entryRefused(const std::u32string& directory, const std::u32string& oldName,
        const platform::SysError& error) override;
    void progress(int processed) override;

private:
    QPushButton& m_button;
    FileListBox& m_fileList;
    QElapsedTimer m_sincePaint;
    bool m_running = false; ///< a run holds the "Rinomina" button
};

} // namespace quorvane::app
