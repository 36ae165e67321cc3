// What the version server's answer means, and the message that tells the user.
#include "update_outcome.h"

#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <quorvane_version.h>

#include <algorithm>

namespace quorvane::update {

static_assert(std::string_view(kProgramTitle).starts_with(kProductName),
    "the update check recognises replies by the product name the title begins with");

namespace {

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

} // namespace

UpdateOutcome judgeBody(std::string_view body, std::string_view ownVersion)
{
    if (!body.starts_with(kProductName))
        return UpdateOutcome::CantCheck;
    return body == ownVersion ? UpdateOutcome::UpToDate : UpdateOutcome::NewVersion;
}

UpdateOutcome judge(const FetchResult& result)
{
    if (!result.received)
        return UpdateOutcome::CantCheck;
    return judgeBody(result.body, kProgramTitle);
}

std::string failureReason(const FetchResult& result)
{
    if (judge(result) != UpdateOutcome::CantCheck)
        return {};
    if (!result.received)
        return result.failure.empty() ? "no answer" : result.failure;
    return "the answer is not a version of " + std::string(kProductName);
}

std::u32string displayBody(std::string_view body)
{
    std::u32string text = platform::decodeTextFile(body);
    std::erase_if(text, [](char32_t c) { return isControl(c) && c != U'\r' && c != U'\n'; });
    return text;
}

std::string_view constantNameOf(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::UpToDate:
        return lang::id::LATEST_VERSION.name;
    case UpdateOutcome::NewVersion:
        return lang::id::NEW_VERSION.name;
    case UpdateOutcome::CantCheck:
        break;
    }
    return lang::id::CANT_CHECK.name;
}

std::u32string outcomeMessage(UpdateOutcome outcome, std::string_view body)
{
    std::u32string text = lang::LookupConstant(constantNameOf(outcome));
    if (outcome != UpdateOutcome::NewVersion)
        return text;
    return lang::formatText(text, { displayBody(body) });
}

} // namespace quorvane::update
