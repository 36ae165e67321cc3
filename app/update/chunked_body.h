// A body sent with "Transfer-Encoding: chunked", decoded as its bytes arrive.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane::update {

/// Takes the bytes after the header block in any pieces and gives the body they frame:
/// chunks of a hexadecimal size line (extensions after ";" ignored) and that many bytes,
/// each followed by a line end, up to the chunk of size 0 and the trailer lines after it.
/// Lines end with LF, an optional CR before it. Once the framing is broken, or a line or the
/// body grows beyond its bound, the body is refused for good.
class ChunkedBody
{
public:
    ChunkedBody(std::size_t maxLine, std::size_t maxBody)
        : m_maxLine(maxLine)
        , m_maxBody(maxBody)
    { }

    /// Adds bytes; false when they broke the framing or a bound (see failure()). Bytes after
    /// the end are ignored.
    [[nodiscard]] bool feed(std::string_view bytes);

    /// True once the last chunk and the trailer have ended: the body is complete.
    [[nodiscard]] bool done() const { return m_phase == Phase::Done; }
    /// Why the body was refused, for a person; empty while it is not.
    [[nodiscard]] const std::string& failure() const { return m_failure; }
    /// The body decoded so far.
    [[nodiscard]] const std::string& body() const { return m_body; }

private:
    enum class Phase { Size, Data, DataEnd, Trailer, Done };

    [[nodiscard]] bool fail(std::string why);
    /// A complete line (line end removed) in the phases that read lines.
    [[nodiscard]] bool takeLine(std::string_view line);

    std::size_t m_maxLine;
    std::size_t m_maxBody;
    Phase m_phase = Phase::Size;
    std::string m_line;
    std::size_t m_remaining = 0; ///< bytes of the current chunk still to come
    std::string m_body;
    std::string m_failure;
};

} // namespace quorvane::update
