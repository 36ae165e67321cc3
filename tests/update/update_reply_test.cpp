// The update check's pure rules: URLs, the reply's lines and limits, the answer's meaning.
#include "app/update/http_reply_reader.h"
#include "app/update/http_url.h"
#include "app/update/update_outcome.h"

#include <quorvane_version.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvane::test {
namespace {

using update::HttpUrl;
using update::StatusKind;
using update::UpdateOutcome;

TEST(StatusLine, CodeIsTheSecondBlankSeparatedFieldOrZeroAndOnlyThreeHundredsRedirect)
{
    const std::pair<const char*, int> codes[] = { { "HTTP/1.1 404 Not Found", 404 },
        { "HTTP/1.0  302\tFound", 302 }, { "HTTP/1.0 2OO OK", 0 }, { "HTTP/1.0 302Found", 0 },
        { "HTTP/1.0", 0 }, { "HTTP/1.0 99999999999 Big", 0 } };
    for (const auto& [line, code] : codes)
        EXPECT_EQ(update::statusCodeOf(line), code) << line;
    const std::pair<int, StatusKind> kinds[] = { { 0, StatusKind::Answer },
        { 298, StatusKind::Answer }, { 299, StatusKind::Unusable }, { 300, StatusKind::Redirect },
        { 302, StatusKind::Redirect }, { 303, StatusKind::Unusable }, { 399, StatusKind::Unusable },
        { 404, StatusKind::Answer } };
    for (const auto& [status, kind] : kinds)
        EXPECT_EQ(update::statusKindOf(status), kind) << status;
    EXPECT_EQ(update::locationOf("LOCATION:\t http://a/ "), "http://a/");
    EXPECT_EQ(update::locationOf("location:x"), "x");
    EXPECT_EQ(update::locationOf("Content-Location: http://a/"), std::nullopt);
}

TEST(HttpUrls, OnlyPlainHttpThatCannotBreakTheRequestIsAccepted)
{
    const std::pair<const char*, std::optional<HttpUrl>> cases[] = {
        { "HTTP://127.0.0.1:8080", HttpUrl { "127.0.0.1", 8080, "/" } },
        { "http://[::1]:81/a?b#part", HttpUrl { "::1", 81, "/a?b" } },
        { "http://host?x=1", HttpUrl { "host", 80, "/?x=1" } },
        { "https://host/", std::nullopt },
        { "/relative/path", std::nullopt },
        { "http://user@host/", std::nullopt },
        { "http://host:65536/", std::nullopt },
        { "http://host/a b", std::nullopt },
        { "http://host/a\r\nX-Injected: 1", std::nullopt },
        { "http://host/\xc3\xa0", std::nullopt },
    };
    for (const auto& [text, url] : cases)
        EXPECT_EQ(update::parseHttpUrl(text), url) << text;
    const HttpUrl configured = update::defaultServer();
    EXPECT_FALSE(configured.host.empty());
    EXPECT_EQ(configured.port, 80);
    EXPECT_EQ(configured.path, "/quorvane-latest-version");
}

TEST(HttpUrls, RequestIsTheExactBytesWithThePortInTheHostOnlyWhenNotEighty)
{
    EXPECT_EQ(update::requestBytes({ "www.example.org", 80, "/quorvane-latest-version" }),
        "GET /quorvane-latest-version HTTP/1.0\r\n"
        "Host: www.example.org\r\n"
        "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
        "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
        "Content-type: application/x-www-form-urlencoded\r\n"
        "\r\n");
    EXPECT_EQ(update::hostHeader({ "::1", 8080, "/" }), "[::1]:8080");
}

TEST(ReplyReader, PiecesOfAnySizeGiveTheSameReply)
{
    const std::string reply
        = "HTTP/1.0 302 Found\r\nServer: x\nLocation: http://b/\r\n\r\nbody\r\n";
    for (const std::size_t piece : { std::size_t { 1 }, std::size_t { 3 }, reply.size() }) {
        update::HttpReplyReader reader;
        for (std::size_t at = 0; at < reply.size(); at += piece)
            ASSERT_TRUE(reader.feed(std::string_view(reply).substr(at, piece)));
        EXPECT_TRUE(reader.headersDone());
        EXPECT_EQ(reader.status(), 302);
        EXPECT_EQ(reader.location(), "http://b/");
        EXPECT_EQ(reader.body(), "body\r\n");
    }
}

TEST(ReplyReader, RefusesALineOrBodyBeyondItsLimitButNotAtIt)
{
    const std::string atLimit(8 * 1024 - 3, 'a');
    update::HttpReplyReader fits;
    EXPECT_TRUE(fits.feed("HTTP/1.0 200 OK\r\nX: " + atLimit + "\r\n\r\n"));
    update::HttpReplyReader tooLong;
    EXPECT_FALSE(tooLong.feed("HTTP/1.0 200 OK\r\nX: " + atLimit + "a\r\n"));
    // Without a line end the limit still holds: a server cannot make the line grow forever.
    update::HttpReplyReader endless;
    EXPECT_FALSE(endless.feed(std::string(9000, 'H')));

    update::HttpReplyReader body;
    ASSERT_TRUE(body.feed("HTTP/1.0 200 OK\r\n\r\n" + std::string(std::size_t { 64 } * 1024, 'b')));
    EXPECT_FALSE(body.feed("b"));
    EXPECT_FALSE(body.feed("")) << "a refused reply stays refused";

    update::HttpReplyReader headers;
    bool accepted = headers.feed("HTTP/1.0 200 OK\r\n");
    for (int i = 0; accepted && i < 10000; ++i)
        accepted = headers.feed("X-Filler: " + std::string(100, 'f') + "\r\n");
    EXPECT_FALSE(accepted) << "an endless header block is refused";
}

TEST(Answer, OnlyTheExactOwnVersionIsUpToDateAndOnlyTheProductNameCounts)
{
    const std::pair<const char*, UpdateOutcome> cases[] = {
        { "Quorvane 0.99", UpdateOutcome::UpToDate },
        { "Quorvane 0.99\r\n", UpdateOutcome::NewVersion },
        { "Quorvane", UpdateOutcome::NewVersion },
        { "quorvane 1.00", UpdateOutcome::CantCheck },
        { " Quorvane 0.99", UpdateOutcome::CantCheck },
        { "", UpdateOutcome::CantCheck },
    };
    for (const auto& [body, outcome] : cases)
        EXPECT_EQ(update::judgeBody(body, kProgramTitle), outcome) << body;
    EXPECT_EQ(update::judge({ false, "Quorvane 0.99", "timed out" }), UpdateOutcome::CantCheck);
}

TEST(Answer, ShownTextKeepsLineEndsAndLosesOtherControlCharacters)
{
    EXPECT_EQ(update::displayBody("Quorvane 1.0\x1b[2J\a\r\nnew\tline\n\x7f"),
        U"Quorvane 1.0[2J\r\nnewline\n");
    EXPECT_EQ(update::displayBody("Quorvane \xc2\x9b"
                                  "1.0"),
        U"Quorvane 1.0");
    EXPECT_EQ(update::displayBody("Quorvane \xe0 1.0"), U"Quorvane \u00e0 1.0") << "Windows-1252";
    EXPECT_TRUE(update::outcomeMessage(UpdateOutcome::NewVersion, "Quorvane 1.00\n")
                    .starts_with(
                        U"E' disponibile una nuova versione:\r\nQuorvane 1.00\n\r\nScaricala da "));
}

} // namespace
} // namespace quorvane::test
