// The address of the version server: an http:// URL taken apart for one HTTP/1.0 request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::update {

/// Where one request goes.
struct HttpUrl
{
    std::string host; ///< name or address; an IPv6 address without its brackets
    std::uint16_t port = 80;
    std::string path = "/"; ///< path and query as sent on the request line, never empty

    friend bool operator==(const HttpUrl&, const HttpUrl&) = default;
};

/// Parses "http://host[:port][/path][?query][#fragment]" (scheme in any letter case; the
/// fragment is dropped). Nullopt for anything else: another scheme, a relative reference,
/// user information ("user@host"), a bad port, and any blank, control or non-ASCII character,
/// so whatever a server sends as a redirection can never add a line to the next request.
[[nodiscard]] std::optional<HttpUrl> parseHttpUrl(std::string_view text);

/// The target of a redirection received in answer to a request for `base`: an http:// URL
/// as parseHttpUrl() takes it, or a reference relative to `base` ("//host/path", "/path",
/// "path", "../path", "?query"), resolved as RFC 3986 says. Nullopt for another scheme, an
/// empty reference, and whatever parseHttpUrl() refuses once resolved.
[[nodiscard]] std::optional<HttpUrl> resolveLocation(
    const HttpUrl& base, std::string_view location);

/// The configured version server (QUORVANE_UPDATE_URL, checked when the build is configured).
[[nodiscard]] HttpUrl defaultServer();

/// The value of the Host header: the host (bracketed when it is an IPv6 address) and the port
/// unless it is 80.
[[nodiscard]] std::string hostHeader(const HttpUrl& url);

/// The whole request, byte for byte: request line, Host, the two Accept lines, Content-type,
/// each ended by CR LF, then the empty line. No body.
[[nodiscard]] std::string requestBytes(const HttpUrl& url);

} // namespace quorvane::update
