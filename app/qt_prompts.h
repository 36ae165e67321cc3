// The program's questions and messages as Qt message boxes and input boxes.
#pragma once

#include "engine/prompts.h"

class QWidget;

namespace quorvane::app {

/// The only code that opens QMessageBox, QInputDialog and the static QFileDialog.
class QtPrompts final : public engine::Prompts
{
public:
    /// The boxes are owned by `owner` (the main window) while they are shown.
    explicit QtPrompts(QWidget* owner = nullptr);
    /// The window exists after its prompts: it becomes their owner once it does.
    void setOwner(QWidget* owner) { m_parent = owner; }

    /// A message box: Enter presses question.defaultButton (the first button when none);
    /// Escape and closing the box answer the safest button offered (Cancel, Abort, No).
    [[nodiscard]] engine::Button ask(const engine::Question& question) override;
    [[nodiscard]] std::optional<std::u32string> input(const engine::InputRequest& request) override;
    void tell(const engine::Message& message) override;
    /// RenameRetryDialog: OK retries, "Salta" (also Escape) skips, "Salta tutti gli errori"
    /// skips every later refusal of the run too, "Interrompi" stops the run.
    [[nodiscard]] engine::RetryAnswer askRenameRetry(const engine::InputRequest& request) override;
    /// QFileDialog::getOpenFileName; the path comes back byte for byte as the disk spells it.
    [[nodiscard]] std::optional<std::u32string> chooseFile(
        const engine::FileRequest& request) override;

private:
    QWidget* m_parent;
};

} // namespace quorvane::app
