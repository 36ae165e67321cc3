// The window's side of the update check: what shows while it waits, and why it failed.
#pragma once

#include "engine/prompts.h"

#include <QObject>

#include <optional>

class QAction;

namespace quorvane::update {
class UpdateCheck;
struct FetchResult;
enum class UpdateTrigger;
} // namespace quorvane::update

namespace quorvane::app {

class BrowsePane;

/// Runs the window's update checks and shows them: while a check waits, its menu item
/// `item` is held and the status bar of `browse` says so; when the answer is in, the check's
/// message is shown through `prompts`, a failed check's with its reason. The check tells its
/// message to this object, which keeps it until the reason is known. Everything it is given
/// belongs to the window and outlives it.
class UpdateStatus final : public QObject, public engine::Prompts
{
    Q_OBJECT
public:
    UpdateStatus(engine::Prompts& prompts, BrowsePane& browse, QAction& item, QObject* parent);

    [[nodiscard]] update::UpdateCheck& check() { return *m_check; }
    /// Starts a check unless one is waiting.
    void start(update::UpdateTrigger trigger);

    // The check's side: questions go through at once, its message waits for the answer.
    [[nodiscard]] engine::Button ask(const engine::Question& question) override;
    [[nodiscard]] std::optional<std::u32string> input(const engine::InputRequest& request) override;
    void tell(const engine::Message& message) override;

private:
    void fetched(const update::FetchResult& result);
    void showWaiting(bool waiting);

    engine::Prompts& m_prompts;
    BrowsePane& m_browse;
    QAction& m_item;
    update::UpdateCheck* m_check = nullptr;
    std::optional<engine::Message> m_pending;
};

} // namespace quorvane::app
