// The version server's reply, read as it arrives: status line, headers, body.
#pragma once

#include "chunked_body.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::update {

/// The status code of a status line: its second blank-separated field read as a whole
/// number, 0 when there is none or it is not a number ("HTTP/1.0 404 Not Found" gives 404).
[[nodiscard]] int statusCodeOf(std::string_view statusLine);

/// The redirection target when the header's name, compared in upper case, is "LOCATION:";
/// the value without the blanks round it.
[[nodiscard]] std::optional<std::string> locationOf(std::string_view headerLine);

/// What a status asks of the client.
enum class StatusKind {
    Answer, ///< the body is the answer, whatever the status (an error page included)
    Redirect, ///< 300 to 302: ask again at the Location
    Unusable, ///< 299 and 303 to 399: no answer and nowhere to go
};
[[nodiscard]] StatusKind statusKindOf(int status);

/// Bounds that keep a hostile or broken server from making the program hold without limit.
struct ReplyLimits
{
    std::size_t maxLine = 8 * 1024; ///< a status or header line, without its line end
    std::size_t maxHeaderBlock = 64 * 1024; ///< status line and headers together
    std::size_t maxBody = 64 * 1024;
};

/// Takes the reply's bytes in whatever pieces the network delivers them. Lines end with LF,
/// an optional CR before it is dropped. The first line must be an HTTP status line
/// ("HTTP/1.0 200 OK": "HTTP/", the version, a three-digit code). A body is framed by
/// "Transfer-Encoding: chunked" (decoded), else by Content-Length (what comes after that
/// many bytes is not part of it), else by the server's close. Once a limit or the framing is
/// broken the reply is failed for good.
class HttpReplyReader
{
public:
    explicit HttpReplyReader(ReplyLimits limits = {})
        : m_limits(limits)
    { }

    /// Adds bytes; false when they broke a limit (see failure()).
    [[nodiscard]] bool feed(std::string_view bytes);

    /// The server closed the connection: false, with failure() saying why, when the reply
    /// had not come whole (its headers unfinished, fewer bytes than its Content-Length, no
    /// last chunk).
    [[nodiscard]] bool end();

    /// True once the empty line after the headers has been read.
    [[nodiscard]] bool headersDone() const { return m_phase == Phase::Body; }
    /// True once the body is known to be whole before the server closes: its Content-Length
    /// or its last chunk has been reached.
    [[nodiscard]] bool complete() const;
    [[nodiscard]] bool failed() const { return !m_failure.empty(); }
    /// Why the reply was refused, for a person; empty while it is not.
    [[nodiscard]] const std::string& failure() const { return m_failure; }
    /// 0 until a status line has been read.
    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] const std::optional<std::string>& location() const { return m_location; }
    /// The body received so far: the bytes after the header block, decoded when chunked.
    [[nodiscard]] const std::string& body() const { return m_chunked ? m_chunked->body() : m_body; }

private:
    enum class Phase { Status, Headers, Body };

    [[nodiscard]] bool fail(std::string why);
    [[nodiscard]] bool takeLine(std::string_view line);
    [[nodiscard]] bool takeHeader(std::string_view line);
    [[nodiscard]] bool takeBody(std::string_view bytes);

    ReplyLimits m_limits;
    Phase m_phase = Phase::Status;
    std::string m_line; ///< the line being received
    std::size_t m_headerBytes = 0;
    int m_status = 0;
    std::optional<std::string> m_location;
    std::optional<std::size_t> m_contentLength;
    std::optional<ChunkedBody> m_chunked;
    std::string m_body;
    std::string m_failure;
};

} // namespace quorvane::update
