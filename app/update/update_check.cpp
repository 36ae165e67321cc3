// "Cerca aggiornamenti" and the automatic check at start-up: ask, compare, tell.
#include "update_check.h"

#include "engine/prompts.h"
#include "engine/scope_exit.h"
#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <exception>

namespace quorvane::update {

UpdateCheck::UpdateCheck(engine::Prompts& prompts, QObject* parent)
    : QObject(parent)
    , m_prompts(prompts)
    , m_server(defaultServer())
{
    connect(&m_request, &UpdateRequest::finished, this, &UpdateCheck::onFetched);
}

bool UpdateCheck::start(UpdateTrigger trigger)
{
    if (m_waiting)
        return false;
    // Set before the request starts: a request that fails at once may report before
    // start() returns.
    m_waiting = true;
    m_trigger = trigger;
    if (!m_request.start(m_server)) {
        m_waiting = false;
        return false;
    }
    return true;
}

namespace {

/// The message that tells `outcome`; a failed check says why, or the user is left guessing:
/// the network's reason, or that the server's answer was no version.
std::u32string messageText(UpdateOutcome outcome, const FetchResult& result)
{
    std::u32string text = outcomeMessage(outcome, result.body);
    if (outcome != UpdateOutcome::CantCheck)
        return text;
    const std::u32string reason = result.received
        ? lang::addedText(lang::added::AGGIORNAMENTI_RISPOSTA)
        : platform::decodeName(result.failure);
    if (!reason.empty())
        text += U"\r\n\r\n"
            + lang::formatText(lang::addedText(lang::added::AGGIORNAMENTI_MOTIVO), { reason });
    return text;
}

} // namespace

void UpdateCheck::onFetched(const FetchResult& result)
{
    emit answered();
    const UpdateOutcome outcome = judge(result);
    {
        // The check waits until its box is closed; whatever happens, it then waits no more.
        const engine::OnScopeExit done([this] { m_waiting = false; });
        try {
            if (outcome != UpdateOutcome::UpToDate || m_trigger == UpdateTrigger::Manual) {
                const auto severity = outcome == UpdateOutcome::CantCheck
                    ? engine::Severity::Warning
                    : engine::Severity::Information;
                engine::Message message { std::string(constantNameOf(outcome)), severity,
                    messageText(outcome, result) };
                // The text comes from the network: it is shown as written, never as markup.
                message.plainText = true;
                m_prompts.tell(message);
            }
        } catch (const std::exception& e) {
            // A missing constant must not escape into the event loop.
            m_prompts.tell({ "ERROR", engine::Severity::Error,
                platform::decodeName(std::string_view(e.what())) });
        }
    }
    emit finished(outcome);
}

} // namespace quorvane::update
