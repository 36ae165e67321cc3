// Answers for the questions of a run when nobody can be asked.
#include "cli_prompts.h"

#include "terminal_text.h"

#include <algorithm>
#include <ostream>

namespace quorvane::cli {

CliPrompts::CliPrompts(std::ostream& errors, bool force)
    : m_errors(errors)
    , m_force(force)
{ }

engine::Button CliPrompts::ask(const engine::Question& question)
{
    const auto offers = [&](engine::Button b) {
        return std::ranges::find(question.buttons, b) != question.buttons.end();
    };
    if (question.id == "NUMERAZIONE_PERICOLOSA") {
        if (m_force)
            return engine::Button::Ignore;
        m_errors << "quorvane-cli: " << terminalLine(question.text)
                 << " (refused; --force works there anyway)\n";
        return engine::Button::Abort;
    }
    if (question.id == "REGISTRO_NON_SCRIVIBILE") {
        m_errors << "quorvane-cli: " << terminalLine(question.text)
                 << " (refused: nothing was renamed; --no-journal renames without a journal)\n";
        return engine::Button::No;
    }
    if (offers(engine::Button::Ok))
        return engine::Button::Ok;
    return question.buttons.empty() ? engine::Button::Cancel : question.buttons.front();
}

std::optional<std::u32string> CliPrompts::input(const engine::InputRequest& /*request*/)
{
    return std::nullopt; // nobody to type another name: the entry is given up
}

void CliPrompts::tell(const engine::Message& message)
{
    // The command names every entry that kept its attributes; the count adds nothing.
    if (message.id == "ATTRIBUTI_NON_IMPOSTATI")
        return;
    m_errors << "quorvane-cli: " << terminalLine(message.text) << '\n';
}

} // namespace quorvane::cli
