// "Cerca aggiornamenti" and the automatic check at start-up: ask, compare, tell.
#include "update_check.h"

#include "engine/prompts.h"
#include "engine/scope_exit.h"
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

void UpdateCheck::onFetched(const FetchResult& result)
{
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
                    outcomeMessage(outcome, result.body) };
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
