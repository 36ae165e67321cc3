// The window's side of the update check: what shows while it waits, and why it failed.
#include "update_status.h"

#include "browse_pane.h"
#include "qt_text.h"
#include "update/update_check.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <QAction>

#include <utility>

namespace quorvane::app {

UpdateStatus::UpdateStatus(
    engine::Prompts& prompts, BrowsePane& browse, QAction& item, QObject* parent)
    : QObject(parent)
    , m_prompts(prompts)
    , m_browse(browse)
    , m_item(item)
    , m_check(new update::UpdateCheck(*this, this))
{
    // Connected after the check's own handler: by the time this runs, the check has judged
    // the answer and told its message here.
    connect(&m_check->request(), &update::UpdateRequest::finished, this, &UpdateStatus::fetched);
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

engine::Button UpdateStatus::ask(const engine::Question& question)
{
    return m_prompts.ask(question);
}

std::optional<std::u32string> UpdateStatus::input(const engine::InputRequest& request)
{
    return m_prompts.input(request);
}

void UpdateStatus::tell(const engine::Message& message)
{
    m_pending = message;
}

void UpdateStatus::fetched(const update::FetchResult& result)
{
    showWaiting(false);
    std::optional<engine::Message> message = std::exchange(m_pending, std::nullopt);
    if (!message)
        return; // an up-to-date answer to the automatic check says nothing
    if (message->id == "CANT_CHECK") {
        // "Impossibile cercare" alone leaves the user guessing: the network's reason, or that
        // the server's answer was no version.
        const std::u32string reason = result.received
            ? lang::addedText(lang::added::AGGIORNAMENTI_RISPOSTA)
            : platform::decodeName(result.failure);
        if (!reason.empty() && message->text.find(reason) == std::u32string::npos)
            message->text += U"\r\n\r\n"
                + lang::formatText(lang::addedText(lang::added::AGGIORNAMENTI_MOTIVO), { reason });
    }
    m_prompts.tell(*message);
}

} // namespace quorvane::app
