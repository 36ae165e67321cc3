// The window's side of the update check: what shows while it waits.
#pragma once

#include <QObject>

class QAction;

namespace quorvane::engine {
class Prompts;
}

namespace quorvane::update {
class UpdateCheck;
enum class UpdateTrigger;
} // namespace quorvane::update

namespace quorvane::app {

class BrowsePane;

/// Runs the window's update checks and shows that one waits: its menu item `item` is held
/// and the status bar of `browse` says so until the answer is in. The check tells its
/// outcome through `prompts`. Everything it is given belongs to the window and outlives it.
class UpdateStatus final : public QObject
{
    Q_OBJECT
public:
    UpdateStatus(engine::Prompts& prompts, BrowsePane& browse, QAction& item, QObject* parent);

    [[nodiscard]] update::UpdateCheck& check() { return *m_check; }
    /// Starts a check unless one is waiting.
    void start(update::UpdateTrigger trigger);

private:
    void showWaiting(bool waiting);

    BrowsePane& m_browse;
    QAction& m_item;
    update::UpdateCheck* m_check = nullptr;
};

} // namespace quorvane::app
