// The window's side of the update check: what shows while it waits.
#include "update_status.h"

#include "browse_pane.h"
#include "qt_text.h"
#include "update/update_check.h"

#include "lang/added_texts.h"

#include <QAction>

namespace quorvane::app {

UpdateStatus::UpdateStatus(
    engine::Prompts& prompts, BrowsePane& browse, QAction& item, QObject* parent)
    : QObject(parent)
    , m_browse(browse)
    , m_item(item)
    , m_check(new update::UpdateCheck(prompts, this))
{
    // Cleared before the check's message opens: the box is the answer.
    connect(m_check, &update::UpdateCheck::answered, this, [this] { showWaiting(false); });
}

void UpdateStatus::start(update::UpdateTrigger trigger)
{
    if (m_check->isWaiting())
        return;
    // Shown before the request starts: one that fails at once reports before start returns.
    showWaiting(true);
    if (!m_check->start(trigger) && !m_check->isWaiting())
        showWaiting(false);
}

void UpdateStatus::showWaiting(bool waiting)
{
    m_item.setEnabled(!waiting);
    if (waiting)
        m_browse.showRunMessage(toDisplay(lang::addedText(lang::added::AGGIORNAMENTI_IN_CORSO)));
    else
        m_browse.clearRunMessage();
}

} // namespace quorvane::app
