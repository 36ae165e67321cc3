// Answers for the questions of a run when nobody can be asked.
#pragma once

#include "engine/prompts.h"

#include <iosfwd>

namespace quorvane::cli {

/// One selected file means that file; the dangerous-directory warning is answered Ignore
/// only when forced; a refused rename is given up; messages go to the error stream, except
/// the count of entries that kept their attributes, which the command lists one by one.
class CliPrompts final : public engine::Prompts
{
public:
    CliPrompts(std::ostream& errors, bool force);

    [[nodiscard]] engine::Button ask(const engine::Question& question) override;
    [[nodiscard]] std::optional<std::u32string> input(const engine::InputRequest& request) override;
    void tell(const engine::Message& message) override;

private:
    std::ostream& m_errors;
    bool m_force;
};

} // namespace quorvane::cli
