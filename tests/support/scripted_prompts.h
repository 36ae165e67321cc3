// Prompts that answer from a script and record every question, for tests.
#pragma once

#include "engine/prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

class ScriptedPrompts final : public engine::Prompts
{
public:
    /// Answers queued for ask(), input() in order. An unscripted ask() answers the first
    /// button and an unscripted input() cancels, so a test can never hang on a loop.
    std::deque<engine::Button> buttons;
    std::deque<std::optional<std::u32string>> inputs;
    /// Answers for the refused-rename box; when none is queued, the box answers from
    /// `inputs` as a plain input box does (OK retries, Cancel skips).
    std::deque<engine::RetryAnswer> retries;
    /// Files the file dialog chooses in order; an unscripted one is cancelled.
    std::deque<std::optional<std::u32string>> files;

    std::vector<engine::Question> questions;
    std::vector<engine::InputRequest> requests;
    std::vector<engine::Message> messages;
    std::vector<engine::FileRequest> fileRequests;

    [[nodiscard]] engine::Button ask(const engine::Question& question) override
    {
        questions.push_back(question);
        if (buttons.empty())
            return question.buttons.front();
        const engine::Button b = buttons.front();
        buttons.pop_front();
        return b;
    }
    [[nodiscard]] std::optional<std::u32string> input(const engine::InputRequest& request) override
    {
        requests.push_back(request);
        if (inputs.empty())
            return std::nullopt;
        auto answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    void tell(const engine::Message& message) override { messages.push_back(message); }
    [[nodiscard]] std::optional<std::u32string> chooseFile(
        const engine::FileRequest& request) override
    {
        fileRequests.push_back(request);
        if (files.empty())
            return std::nullopt;
        auto answer = files.front();
        files.pop_front();
        return answer;
    }
    [[nodiscard]] engine::RetryAnswer askRenameRetry(const engine::InputRequest& request) override
    {
        if (retries.empty())
            return Prompts::askRenameRetry(request);
        requests.push_back(request);
        const engine::RetryAnswer answer = retries.front();
        retries.pop_front();
        return answer;
    }
};

} // namespace quorvane::test
