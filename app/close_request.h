// A request from outside to end the program: the session ends, a kill, Ctrl+C.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class QSocketNotifier;

namespace quorvane::app {

/// Ends the program in good order when asked from outside, from any state. Once asked,
/// every modal box and menu is closed unanswered (it gives its safest answer), and so is
/// each one that opens later; a run in progress stops after the entry it is renaming; then
/// the main window closes the ordinary way, so that its exit sequence saves the settings,
/// and the event loop ends. One object per program, made before the main window.
class CloseRequest final : public QObject
{
    Q_OBJECT
public:
    /// Watches `readEnd` (a pipe that gets a byte per signal; -1 for none).
    explicit CloseRequest(int readEnd, QObject* parent = nullptr);
    ~CloseRequest() override;

    /// The program has been asked to end. Process-wide: a run asks it between two entries.
    [[nodiscard]] static bool pending();

    /// The window that ends the program; until it is given only boxes are closed (the
    /// caller closes the window itself when the request came before the event loop ran).
    void setWindow(QWidget* window) { m_window = window; }

    /// What a signal does; also for tests.
    void request();

private:
    void step();

    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_steps;
    QPointer<QWidget> m_window;
};

} // namespace quorvane::app
