// The address of the version server and the request sent to it.
#include "http_url.h"

#include <update/update_server.h>

#include <algorithm>
#include <charconv>
#include <vector>

namespace quorvane::update {

namespace {

bool isAsciiLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isHostNameChar(char c)
{
    return isAsciiLetterOrDigit(c) || c == '-' || c == '.' || c == '_';
}

bool isIpv6Char(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':'
        || c == '.';
}

/// Printable ASCII other than the blank: the only bytes a request line may carry unescaped.
bool isVisibleAscii(char c)
{
    return c > ' ' && c < '\x7f';
}

bool startsWithHttp(std::string_view text)
{
    constexpr std::string_view scheme = "http://";
    if (text.size() < scheme.size())
        return false;
    return std::equal(scheme.begin(), scheme.end(), text.begin(), [](char a, char b) {
        return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

/// "80", "8080"; empty means the default port.
std::optional<std::uint16_t> parsePort(std::string_view text)
{
    if (text.empty())
        return 80;
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc {} || ptr != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

/// A reference that names its own scheme: letters, digits, "+", "-" or "." before a ":"
/// that comes before any "/", "?" or "#".
bool hasScheme(std::string_view reference)
{
    const auto colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0
        || reference.substr(0, colon).find_first_of("/?#") != std::string_view::npos)
        return false;
    return std::ranges::all_of(reference.substr(0, colon),
        [](char c) { return isAsciiLetterOrDigit(c) || c == '+' || c == '-' || c == '.'; });
}

/// RFC 3986's remove_dot_segments on an absolute path.
std::string withoutDotSegments(std::string_view path)
{
    std::vector<std::string_view> segments;
    bool directory = false;
    while (!path.empty()) {
        path.remove_prefix(1); // the "/" before the segment
        const auto slash = std::min(path.find('/'), path.size());
        const std::string_view segment = path.substr(0, slash);
        path.remove_prefix(slash);
        directory = segment == "." || segment == "..";
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (segment != ".") {
            segments.push_back(segment);
        }
    }
    std::string out;
    for (const std::string_view segment : segments) {
        out += '/';
        out += segment;
    }
    if (out.empty() || directory)
        out += '/';
    return out;
}

} // namespace

std::optional<HttpUrl> resolveLocation(const HttpUrl& base, std::string_view location)
{
    if (hasScheme(location))
        return parseHttpUrl(location);
    if (location.empty())
        return std::nullopt;
    if (location.starts_with("//"))
        return parseHttpUrl("http:" + std::string(location));
    const std::string origin = "http://" + hostHeader(base);
    if (location.starts_with('#'))
        return parseHttpUrl(origin + base.path);
    const std::string_view basePath
        = std::string_view(base.path).substr(0, std::min(base.path.find('?'), base.path.size()));
    if (location.starts_with('?'))
        return parseHttpUrl(origin + std::string(basePath) + std::string(location));
    const auto queryAt = std::min(location.find_first_of("?#"), location.size());
    std::string path(location.substr(0, queryAt));
    if (!path.starts_with('/'))
        path = std::string(basePath.substr(0, basePath.rfind('/') + 1)) + path;
    return parseHttpUrl(origin + withoutDotSegments(path) + std::string(location.substr(queryAt)));
}

std::optional<HttpUrl> parseHttpUrl(std::string_view text)
{
    if (!startsWithHttp(text) || !std::ranges::all_of(text, isVisibleAscii))
        return std::nullopt;
    std::string_view rest = text.substr(7);
    if (const auto hash = rest.find('#'); hash != std::string_view::npos)
        rest = rest.substr(0, hash);
    const auto authorityEnd = std::min(rest.find_first_of("/?"), rest.size());
    const std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view path = rest.substr(authorityEnd);

    HttpUrl url;
    std::string_view portText;
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        url.host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':'))
            return std::nullopt;
        portText = after.empty() ? after : after.substr(1);
        if (url.host.empty() || !std::ranges::all_of(url.host, isIpv6Char))
            return std::nullopt;
    } else {
        const auto colon = authority.find(':');
        url.host = authority.substr(0, colon);
        if (colon != std::string_view::npos)
            portText = authority.substr(colon + 1);
        // '@' (user information) fails here too: the request has no user name fields.
        if (url.host.empty() || !std::ranges::all_of(url.host, isHostNameChar))
            return std::nullopt;
    }
    const std::optional<std::uint16_t> port = parsePort(portText);
    if (!port)
        return std::nullopt;
    url.port = *port;
    if (path.empty())
        url.path = "/";
    else if (path.starts_with('?'))
        url.path = "/" + std::string(path);
    else
        url.path = path;
    return url;
}

HttpUrl defaultServer()
{
    // The build refuses an address that does not parse, so this never falls back.
    return parseHttpUrl(kUpdateServerUrl).value_or(HttpUrl {});
}

std::string hostHeader(const HttpUrl& url)
{
    std::string host = url.host.find(':') != std::string::npos ? "[" + url.host + "]" : url.host;
    if (url.port != 80)
        host += ":" + std::to_string(url.port);
    return host;
}

std::string requestBytes(const HttpUrl& url)
{
    return "GET " + url.path + " HTTP/1.0\r\n" + "Host: " + hostHeader(url) + "\r\n"
        + "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
          "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
          "Content-type: application/x-www-form-urlencoded\r\n"
          "\r\n";
}

} // namespace quorvane::update
