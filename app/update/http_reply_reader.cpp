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
    constexpr std::string_view name = "LOCATION:";
    if (headerLine.size() < name.size()
        || !std::equal(name.begin(), name.end(), headerLine.begin(),
            [](char a, char b) { return a == upper(b); }))
        return std::nullopt;
    return std::string(trimmed(headerLine.substr(name.size())));
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
        takeLine(m_line);
        m_line.clear();
    }
    if (m_body.size() + bytes.size() > m_limits.maxBody)
        return fail("a reply longer than " + std::to_string(m_limits.maxBody) + " bytes");
    m_body.append(bytes);
    return true;
}

void HttpReplyReader::takeLine(std::string_view line)
{
    if (m_phase == Phase::Status) {
        m_status = statusCodeOf(line);
        m_phase = Phase::Headers;
    } else if (line.empty()) {
        m_phase = Phase::Body;
    } else if (auto target = locationOf(line)) {
        m_location = std::move(target);
    }
}

} // namespace quorvane::update
