// What the version server's answer means, and the message that tells the user.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::update {

/// A reply is recognised only when its body begins with the product's name.
inline constexpr std::string_view kProductName = "Quorvane";

/// What one request brought back.
struct FetchResult
{
    bool received = false; ///< a reply came and ended normally; false on any failure
    std::string body; ///< the bytes after the header block, as sent
    std::string failure; ///< why nothing usable came, for a person (empty when received)
};

/// The three ways a check ends.
enum class UpdateOutcome {
    UpToDate, ///< the body is exactly the program's own version string
    NewVersion, ///< the body names the product but differs in any character
    CantCheck, ///< no reply, or one that is not a version string of this product
};

/// Compares the body byte for byte with `ownVersion` ("Quorvane 0.99"): it must begin with
/// kProductName (same case) to count at all; a line break after it is a difference.
[[nodiscard]] UpdateOutcome judgeBody(std::string_view body, std::string_view ownVersion);
/// The outcome of a request against the program's own version string.
[[nodiscard]] UpdateOutcome judge(const FetchResult& result);

/// Why the check could not be made, for a person: the request's failure, or that the answer
/// is no version of this product. Empty unless judge(result) is CantCheck.
[[nodiscard]] std::string failureReason(const FetchResult& result);

/// The body as a message may show it: decoded (UTF-8 when valid, otherwise Windows-1252) and
/// with every control character removed except CR and LF, so a server cannot reach the
/// terminal or the message box with anything but text and line breaks.
[[nodiscard]] std::u32string displayBody(std::string_view body);

/// The constant that tells this outcome: CANT_CHECK, NEW_VERSION or LATEST_VERSION.
[[nodiscard]] std::string_view constantNameOf(UpdateOutcome outcome);

/// The message text in the current language; NEW_VERSION gets displayBody(body) for its %s.
/// Throws ELangError when a constant is missing.
[[nodiscard]] std::u32string outcomeMessage(UpdateOutcome outcome, std::string_view body);

} // namespace quorvane::update
