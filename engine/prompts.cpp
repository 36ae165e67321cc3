// The default form of the questions that front ends may offer more richly.
#include "prompts.h"

namespace quorvane::engine {

RetryAnswer Prompts::askRenameRetry(const InputRequest& request)
{
    std::optional<std::u32string> typed = input(request);
    if (!typed)
        return { RetryAnswer::Action::Skip, {} };
    return { RetryAnswer::Action::Retry, std::move(*typed) };
}

std::optional<std::u32string> Prompts::chooseFile(const FileRequest& /*request*/)
{
    return std::nullopt;
}

} // namespace quorvane::engine
