// The window's view of a run in progress.
#include "run_progress.h"

#include "file_list_box.h"
#include "qt_text.h"

#include <QApplication>
#include <QPushButton>

namespace quorvane::app {

RunProgress::RunProgress(QPushButton& button, FileListBox& fileList)
    : m_button(button)
    , m_fileList(fileList)
{ }

void RunProgress::start()
{
    m_running = true;
    m_sincePaint.start();
}

void RunProgress::finish()
{
    m_running = false;
}

void RunProgress::entryRefused(const std::u32string& /*directory*/,
    const std::u32string& /*oldName*/, const platform::SysError& /*error*/)
{
    // The box about the refusal is seen against what is really on disk now.
    m_fileList.update();
}

void RunProgress::progress(int processed)
{
    // A long run keeps the window painted and counts on the button; user input waits
    // until the run is over, so nothing can change under it. Outside a run (a preview)
    // the button keeps its caption: nothing would ever put "Rinomina" back.
    if (!m_running || (m_sincePaint.isValid() && m_sincePaint.elapsed() < 100))
        return;
    m_button.setText(QStringLiteral("%1 %2").arg(constantText(lang::id::ATTENDERE)).arg(processed));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sincePaint.start();
}

} // namespace quorvane::app
