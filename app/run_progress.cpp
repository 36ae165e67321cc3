// The window's view of a run in progress.
#include "run_progress.h"

#include "browse_pane.h"
#include "close_request.h"
#include "qt_text.h"

#include "lang/added_texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace quorvane::app {

namespace {

/// While a run paints itself, the person at the keyboard may only stop it: Escape asks for
/// the stop, every other input (and closing a window) is dropped, so nothing can change
/// the options, start a second run or close the window under the running one.
class RunInputFilter final : public QObject
{
public:
    explicit RunInputFilter(bool& stopRequested)
        : m_stopRequested(stopRequested)
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                m_stopRequested = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    bool& m_stopRequested;
};

} // namespace

RunProgress::RunProgress(QPushButton& button, BrowsePane& browse)
    : m_button(button)
    , m_browse(browse)
{ }

void RunProgress::start()
{
    m_running = true;
    m_stopRequested = false;
    m_browse.setRunning(true);
    m_browse.showRunMessage(toDisplay(lang::addedText(lang::added::RUN_ESC_INTERROMPE)));
    m_sincePaint.start();
}

void RunProgress::finish()
{
    m_running = false;
    m_browse.setRunning(false);
    m_browse.clearRunMessage();
}

void RunProgress::entryRefused(const std::u32string& /*directory*/,
    const std::u32string& /*oldName*/, const platform::SysError& /*error*/)
{
    // The box about the refusal is seen against what is really on disk now.
    m_browse.rereadFiles();
}

bool RunProgress::stopRequested()
{
    return m_stopRequested || CloseRequest::pending();
}

void RunProgress::progress(int processed)
{
    // A long run keeps the window painted and counts on the button. Outside a run (a
    // preview) the button keeps its caption: nothing would ever put "Rinomina" back.
    if (!m_running || (m_sincePaint.isValid() && m_sincePaint.elapsed() < 100))
        return;
    m_button.setText(QStringLiteral("%1 %2").arg(constantText(lang::id::ATTENDERE)).arg(processed));
    RunInputFilter filter(m_stopRequested);
    qApp->installEventFilter(&filter);
    QApplication::processEvents();
    qApp->removeEventFilter(&filter);
    m_sincePaint.start();
}

} // namespace quorvane::app
