// Drives the real modal boxes that the code under test opens, as Qt's own autotests do.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace quorvane::test {

/// While it lives, hands every modal widget that opens to `action`, which is expected to
/// close it (press a key, click a button). A modal widget still open some seconds after its
/// action is rejected, and counted in stuck(), so a faulty test fails instead of hanging.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget& modal)>;

    explicit ModalDriver(Action action)
        : m_action(std::move(action))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    /// How many modal widgets were handed to the action.
    [[nodiscard]] int driven() const { return static_cast<int>(m_texts.size()); }
    /// Window title and, for message boxes, the text of each driven widget, in order.
    [[nodiscard]] const QStringList& texts() const { return m_texts; }
    /// How many of them the action left open.
    [[nodiscard]] int stuck() const { return m_stuck; }

    /// Presses `key` where a person's key press goes: the widget with the keyboard focus.
    static void press(QWidget& modal, Qt::Key key)
    {
        QWidget* target = modal.focusWidget();
        QTest::keyClick(target != nullptr ? target : &modal, key);
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        if (modal == m_current) {
            if (m_since.elapsed() > kPatienceMs) {
                ++m_stuck;
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
            return;
        }
        m_current = modal;
        m_since.start();
        QString text = modal->windowTitle();
        if (const auto* box = qobject_cast<QMessageBox*>(modal))
            text += QLatin1Char('\n') + box->text();
        m_texts << text;
        m_action(*modal);
    }

    static constexpr qint64 kPatienceMs = 5000;
    Action m_action;
    QTimer m_timer;
    QPointer<QWidget> m_current;
    QElapsedTimer m_since;
    QStringList m_texts;
    int m_stuck = 0;
};

} // namespace quorvane::test
