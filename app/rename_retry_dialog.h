// The box of a rename the system refused during a run: another name, skip, skip all, stop.
#pragma once

#include "engine/prompts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane::app {

/// Shows the request's caption as title and, so that no title bar can cut it, as the box's
/// first line; then its prompt (worded after the box's own buttons when the request names
/// its subject), and its text in an edit field. OK
/// (the default button) retries with the edited name; "Salta", Escape and closing the
/// window skip the entry; "Salta tutti gli errori" skips it and every later refusal of
/// the run; "Interrompi" stops the run. answer() tells which, once the dialog is done.
class RenameRetryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RenameRetryDialog(const engine::InputRequest& request, QWidget* parent = nullptr);

    /// The choice made; Skip until a button is pressed. The name only goes with Retry,
    /// and holds the edited text exactly (undecodable bytes of the proposed name kept).
    [[nodiscard]] engine::RetryAnswer answer() const;

    [[nodiscard]] QLineEdit* nameEdit() const { return m_name; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* skipButton() const { return m_skip; }
    [[nodiscard]] QPushButton* skipAllButton() const { return m_skipAll; }
    [[nodiscard]] QPushButton* stopButton() const { return m_stop; }

public slots:
    /// Escape and the window's close button: the entry is skipped, nothing else changes.
    void reject() override;

private:
    void finish(engine::RetryAnswer::Action action);

    QLabel* m_prompt = nullptr;
    QLabel* m_reason = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_skipAll = nullptr;
    QPushButton* m_stop = nullptr;
    engine::RetryAnswer::Action m_action = engine::RetryAnswer::Action::Skip;
};

} // namespace quorvane::app
