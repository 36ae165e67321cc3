// The version server's reply, read as it arrives.
#include "http_reply_reader.h"

#include <algorithm>
#include <charconv>

namespace quorvane::update {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// The value of a header whose name, compared in upper case, is `name` (with its colon).
std::optional<std::string_view> headerValue(std::string_view line, std::string_view name)
{
    if (line.size() < name.size()
        || !std::equal(
            name.begin(), name.end(), line.begin(), [](char a, char b) { return a == upper(b); }))
        return std::nullopt;
    return trimmed(line.substr(name.size()));
}

bool equalsUpper(std::string_view text, std::string_view upperText)
{
    return text.size() == upperText.size()
        && std::equal(text.begin(), text.end(), upperText.begin(),
            [](char a, char b) { return upper(a) == b; });
}

bool isStatusLine(std::string_view line)
{
    const int code = statusCodeOf(line);
    return line.starts_with("HTTP/") && code >= 100 && code <= 999;
}

} // namespace

int statusCodeOf(std::string_view statusLine)
{
    // Skip the protocol field and the blanks after it; the code runs to the next blank.
    constexpr std::string_view blanks = " \t";
    std::string_view field
        = statusLine.substr(std::min(statusLine.find_first_of(blanks), statusLine.size()));
    field.remove_prefix(std::min(field.find_first_not_of(blanks), field.size()));
    field = field.substr(0, field.find_first_of(blanks));
    int code = 0;
    const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), code);
    if (field.empty() || ec != std::errc {} || ptr != field.data() + field.size())
        return 0;
    return code;
}

std::optional<std::string> locationOf(std::string_view headerLine)
{
    const auto value = headerValue(headerLine, "LOCATION:");
    return value ? std::optional(std::string(*value)) : std::nullopt;
}

StatusKind statusKindOf(int status)
{
    if (status >= 300 && status <= 302)
        return StatusKind::Redirect;
    if (status >= 299 && status <= 399)
        return StatusKind::Unusable;
    return StatusKind::Answer;
}

bool HttpReplyReader::fail(std::string why)
{
    if (m_failure.empty())
        m_failure = std::move(why);
    return false;
}

bool HttpReplyReader::feed(std::string_view bytes)
{
    if (failed())
        return false;
    while (!bytes.empty() && m_phase != Phase::Body) {
        const auto lf = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lf);
        // One byte more than the limit may be the CR of a line that is just long enough.
        if (m_line.size() + piece.size() > m_limits.maxLine + 1)
            return fail("a status or header line longer than " + std::to_string(m_limits.maxLine)
                + " bytes");
        m_line.append(piece);
        if (lf == std::string_view::npos)
            return true;
        bytes.remove_prefix(lf + 1);
        m_headerBytes += m_line.size() + 1;
        if (m_headerBytes > m_limits.maxHeaderBlock)
            return fail(
                "a header block longer than " + std::to_string(m_limits.maxHeaderBlock) + " bytes");
        if (!m_line.empty() && m_line.back() == '\r')
            m_line.pop_back();
        if (m_line.size() > m_limits.maxLine)
            return fail("a status or header line longer than " + std::to_string(m_limits.maxLine)
                + " bytes");
        const std::string line = std::move(m_line);
        m_line.clear();
        if (!takeLine(line))
            return false;
    }
    return bytes.empty() || takeBody(bytes);
}

bool HttpReplyReader::takeBody(std::string_view bytes)
{
    if (m_chunked) {
        if (!m_chunked->feed(bytes))
            return fail("a chunked body that cannot be read: " + m_chunked->failure());
        return true;
    }
    if (m_contentLength)
        bytes = bytes.substr(0, *m_contentLength - std::min(m_body.size(), *m_contentLength));
    if (m_body.size() + bytes.size() > m_limits.maxBody)
        return fail("a reply longer than " + std::to_string(m_limits.maxBody) + " bytes");
    m_body.append(bytes);
    return true;
}

bool HttpReplyReader::takeLine(std::string_view line)
{
    if (m_phase == Phase::Status) {
        // Anything else is no answer to the request, whatever its text: a server of another
        // protocol, or an HTTP/0.9 one that sends the bare document.
        if (!isStatusLine(line))
            return fail("no HTTP status line at the start of the reply");
        m_status = statusCodeOf(line);
        m_phase = Phase::Headers;
        return true;
    }
    if (!line.empty())
        return takeHeader(line);
    m_phase = Phase::Body;
    return true;
}

bool HttpReplyReader::takeHeader(std::string_view line)
{
    if (auto target = locationOf(line)) {
        m_location = std::move(target);
    } else if (const auto encoding = headerValue(line, "TRANSFER-ENCODING:")) {
        if (!equalsUpper(*encoding, "CHUNKED"))
            return fail("a body in a transfer encoding other than chunked");
        // The chunks frame the body; a Content-Length beside them does not count.
        m_chunked.emplace(m_limits.maxLine, m_limits.maxBody);
    } else if (const auto length = headerValue(line, "CONTENT-LENGTH:")) {
        std::size_t value = 0;
        const char* end = length->data() + length->size();
        const auto [ptr, ec] = std::from_chars(length->data(), end, value);
        if (length->empty() || ec != std::errc {} || ptr != end)
            return fail("a Content-Length that is not a number");
        if (m_contentLength && *m_contentLength != value)
            return fail("two different Content-Length values");
        if (value > m_limits.maxBody)
            return fail("a reply longer than " + std::to_string(m_limits.maxBody) + " bytes");
        m_contentLength = value;
    }
    return true;
}

bool HttpReplyReader::complete() const
{
    if (m_phase != Phase::Body || failed())
        return false;
    if (m_chunked)
        return m_chunked->done();
    return m_contentLength && m_body.size() == *m_contentLength;
}

bool HttpReplyReader::end()
{
    if (failed())
        return false;
    if (m_phase == Phase::Status && m_line.empty())
        return fail("the server closed the connection without answering");
    if (m_phase == Phase::Status && !isStatusLine(m_line))
        return fail("no HTTP status line at the start of the reply");
    if (m_phase != Phase::Body)
        return fail("the connection closed before the end of the reply's headers");
    if (m_chunked) {
        if (!m_chunked->done())
            return fail("the connection closed before the last chunk of the body");
        return true;
    }
    if (m_contentLength && m_body.size() < *m_contentLength)
        return fail("the connection closed after " + std::to_string(m_body.size()) + " of the "
            + std::to_string(*m_contentLength) + " bytes the reply announced");
    return true;
}

} // namespace quorvane::update
