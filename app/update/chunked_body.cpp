// A body sent with "Transfer-Encoding: chunked", decoded as its bytes arrive.
#include "chunked_body.h"

#include <algorithm>

namespace quorvane::update {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool ChunkedBody::fail(std::string why)
{
    if (m_failure.empty())
        m_failure = std::move(why);
    return false;
}

bool ChunkedBody::feed(std::string_view bytes)
{
    if (!m_failure.empty())
        return false;
    while (!bytes.empty() && m_phase != Phase::Done) {
        if (m_phase == Phase::Data) {
            const std::size_t take = std::min(m_remaining, bytes.size());
            m_body.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            m_remaining -= take;
            if (m_remaining == 0)
                m_phase = Phase::DataEnd;
            continue;
        }
        const auto lf = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lf);
        // One byte more than the bound may be the CR of a line that is just long enough.
        if (m_line.size() + piece.size() > m_maxLine + 1)
            return fail(
                "a chunk size or trailer line longer than " + std::to_string(m_maxLine) + " bytes");
        m_line.append(piece);
        if (lf == std::string_view::npos)
            return true;
        bytes.remove_prefix(lf + 1);
        if (!m_line.empty() && m_line.back() == '\r')
            m_line.pop_back();
        const std::string line = std::move(m_line);
        m_line.clear();
        if (!takeLine(line))
            return false;
    }
    return true;
}

bool ChunkedBody::takeLine(std::string_view line)
{
    switch (m_phase) {
    case Phase::DataEnd:
        if (!line.empty())
            return fail("a chunk longer than its size says");
        m_phase = Phase::Size;
        return true;
    case Phase::Trailer:
        if (line.empty())
            m_phase = Phase::Done;
        return true;
    case Phase::Size:
        break;
    case Phase::Data:
    case Phase::Done:
        return true;
    }
    const std::string_view digits = line.substr(0, std::min(line.find(';'), line.size()));
    const std::size_t end = digits.find_last_not_of(" \t");
    const std::string_view size = digits.substr(0, end == std::string_view::npos ? 0 : end + 1);
    if (size.empty())
        return fail("a chunk without a size");
    std::size_t value = 0;
    for (const char c : size) {
        const int digit = hexValue(c);
        if (digit < 0)
            return fail("a chunk size that is not a hexadecimal number");
        // Checked before it can overflow: a size beyond the bound is refused anyway.
        if (value > m_maxBody)
            return fail("a body longer than " + std::to_string(m_maxBody) + " bytes");
        value = value * 16 + static_cast<std::size_t>(digit);
    }
    if (m_body.size() + value > m_maxBody)
        return fail("a body longer than " + std::to_string(m_maxBody) + " bytes");
    m_remaining = value;
    m_phase = value == 0 ? Phase::Trailer : Phase::Data;
    return true;
}

} // namespace quorvane::update
