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

TEST(StatusLine, CodeIsTheSecondBlankSeparatedFieldOrZero)
{
    const std::pair<const char*, int> cases[] = {
        { "HTTP/1.0 200 OK", 200 },
        { "HTTP/1.1 404 Not Found", 404 },
        { "HTTP/1.0  302\tFound", 302 },
        { "HTTP/1.0 2OO OK", 0 },
        { "HTTP/1.0 302Found", 0 },
        { "HTTP/1.0", 0 },
        { "", 0 },
        { "HTTP/1.0 99999999999 Big", 0 },
    };
    for (const auto& [line, code] : cases)
        EXPECT_EQ(update::statusCodeOf(line), code) << line;
}

TEST(StatusLine, OnlyThreeHundredToThreeHundredTwoRedirect)
{
    const std::pair<int, StatusKind> cases[] = { { 0, StatusKind::Answer },
        { 200, StatusKind::Answer }, { 298, StatusKind::Answer }, { 299, StatusKind::Unusable },
        { 300, StatusKind::Redirect }, { 301, StatusKind::Redirect }, { 302, StatusKind::Redirect },
        { 303, StatusKind::Unusable }, { 399, StatusKind::Unusable }, { 400, StatusKind::Answer },
        { 404, StatusKind::Answer }, { 500, StatusKind::Answer } };
    for (const auto& [status, kind] : cases)
        EXPECT_EQ(update::statusKindOf(status), kind) << status;
}

TEST(StatusLine, LocationHeaderIsFoundInAnyCaseAndTrimmed)
{
    EXPECT_EQ(update::locationOf("Location: http://a/b"), "http://a/b");
    EXPECT_EQ(update::locationOf("LOCATION:\t http://a/ "), "http://a/");
    EXPECT_EQ(update::locationOf("location:x"), "x");
    EXPECT_EQ(update::locationOf("Content-Location: http://a/"), std::nullopt);
    EXPECT_EQ(update::locationOf("Locations: http://a/"), std::nullopt);
}

struct UrlCase
{
    const char* text;
    std::optional<HttpUrl> expected;
};

class ParseHttpUrl : public ::testing::TestWithParam<UrlCase>
{
};

TEST_P(ParseHttpUrl, AcceptsOnlyPlainHttpThatCannotBreakTheRequest)
{
    EXPECT_EQ(update::parseHttpUrl(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Urls, ParseHttpUrl,
    ::testing::Values(UrlCase { "http://www.example.org/quorvane-latest-version",
                          HttpUrl { "www.example.org", 80, "/quorvane-latest-version" } },
        UrlCase { "HTTP://127.0.0.1:8080", HttpUrl { "127.0.0.1", 8080, "/" } },
        UrlCase { "http://[::1]:81/a?b#part", HttpUrl { "::1", 81, "/a?b" } },
        UrlCase { "http://host?x=1", HttpUrl { "host", 80, "/?x=1" } },
        UrlCase { "http://host:/p", HttpUrl { "host", 80, "/p" } },
        UrlCase { "https://host/", std::nullopt }, UrlCase { "/relative/path", std::nullopt },
        UrlCase { "ftp://host/", std::nullopt }, UrlCase { "http://user@host/", std::nullopt },
        UrlCase { "http://host:0/", std::nullopt }, UrlCase { "http://host:65536/", std::nullopt },
        UrlCase { "http://host:8o/", std::nullopt }, UrlCase { "http:///path", std::nullopt },
        UrlCase { "http://[::1/", std::nullopt }, UrlCase { "http://host/a b", std::nullopt },
        UrlCase { "http://host/a\r\nX-Injected: 1", std::nullopt },
        UrlCase { "http://host/\xc3\xa0", std::nullopt }));

TEST(Request, IsTheExactBytesWithThePortInTheHostOnlyWhenNotEighty)
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

TEST(Request, ConfiguredServerAsksForTheLatestVersionFile)
{
    const HttpUrl server = update::defaultServer();
    EXPECT_FALSE(server.host.empty());
    EXPECT_EQ(server.port, 80);
    EXPECT_EQ(server.path, "/quorvane-latest-version");
}

TEST(ReplyReader, PiecesOfAnySizeGiveTheSameReply)
{
    const std::string reply
        = "HTTP/1.0 302 Found\r\nServer: x\r\nLocation: http://b/\r\n\r\nbody\r\n";
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

TEST(ReplyReader, LinesEndWithLineFeedAlone)
{
    update::HttpReplyReader reader;
    ASSERT_TRUE(reader.feed("HTTP/1.0 200 OK\nX: y\n\nQuorvane 0.99"));
    EXPECT_EQ(reader.status(), 200);
    EXPECT_EQ(reader.body(), "Quorvane 0.99");
}

TEST(ReplyReader, RefusesALineOrBodyBeyondItsLimitButNotAtIt)
{
    const std::string atLimit(8 * 1024 - 3, 'a');
    update::HttpReplyReader fits;
    EXPECT_TRUE(fits.feed("HTTP/1.0 200 OK\r\nX: " + atLimit + "\r\n\r\n"));
    update::HttpReplyReader tooLong;
    EXPECT_FALSE(tooLong.feed("HTTP/1.0 200 OK\r\nX: " + atLimit + "a\r\n"));
    EXPECT_TRUE(tooLong.failed());
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
        { "Quorvane 1.00", UpdateOutcome::NewVersion },
        { "Quorvane", UpdateOutcome::NewVersion },
        { "quorvane 1.00", UpdateOutcome::CantCheck },
        { " Quorvane 0.99", UpdateOutcome::CantCheck },
        { "<html>Not Found</html>", UpdateOutcome::CantCheck },
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
}

TEST(Answer, NewVersionShowsTheBodyExactlyBetweenTheLineBreaks)
{
    const std::u32string text
        = update::outcomeMessage(UpdateOutcome::NewVersion, "Quorvane 1.00\n");
    EXPECT_TRUE(text.starts_with(
        U"E' disponibile una nuova versione:\r\nQuorvane 1.00\n\r\nScaricala da "));
    EXPECT_EQ(update::outcomeMessage(UpdateOutcome::CantCheck, "Quorvane 1.00"),
        U"Impossibile cercare nuova versione");
}

} // namespace
} // namespace quorvane::test
