// A request from outside to end the program.
#include "close_request.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include "platform/close_signals.h"

namespace quorvane::app {

namespace {

bool g_pending
    = false; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables): one per process

} // namespace

CloseRequest::CloseRequest(int readEnd, QObject* parent)
    : QObject(parent)
{
    // Boxes are closed one at a time: closing one may return to code that opens the next
    // (the start-up's language dialog, then its question), which the next step closes.
    m_steps.setInterval(20);
    connect(&m_steps, &QTimer::timeout, this, &CloseRequest::step);
    if (readEnd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this, readEnd] {
        platform::drainCloseSignals(readEnd);
        request();
    });
}

CloseRequest::~CloseRequest() = default;

bool CloseRequest::pending()
{
    return g_pending;
}

void CloseRequest::request()
{
    if (g_pending)
        return;
    g_pending = true;
    step();
    m_steps.start();
}

void CloseRequest::step()
{
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // reject() ends a dialog's exec() whatever buttons it has; close() may be refused.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    if (m_window == nullptr)
        return;
    // While a run works the window refuses to close; the run stops at its next entry
    // and the next step closes the window.
    if (m_window->isVisible())
        m_window->close();
    if (!m_window->isVisible()) {
        m_steps.stop();
        QCoreApplication::quit();
    }
}

} // namespace quorvane::app
