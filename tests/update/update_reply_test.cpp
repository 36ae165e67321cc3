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

TEST(HttpUrls, ARelativeLocationIsResolvedAgainstTheRequest)
{
    const HttpUrl base { "host", 8080, "/dir/page?old=1" };
    const std::pair<const char*, std::optional<HttpUrl>> cases[] = {
        { "/other", HttpUrl { "host", 8080, "/other" } },
        { "next?x=1#f", HttpUrl { "host", 8080, "/dir/next?x=1" } },
        { "../up/./there", HttpUrl { "host", 8080, "/up/there" } },
        { "../../../..", HttpUrl { "host", 8080, "/" } },
        { "sub/..", HttpUrl { "host", 8080, "/dir/" } },
        { "?new=2", HttpUrl { "host", 8080, "/dir/page?new=2" } },
        { "#top", HttpUrl { "host", 8080, "/dir/page?old=1" } },
        { "//elsewhere:81/a", HttpUrl { "elsewhere", 81, "/a" } },
        { "Http://elsewhere/b", HttpUrl { "elsewhere", 80, "/b" } },
        { "https://host/", std::nullopt },
        { "mailto:a@b", std::nullopt },
        { "", std::nullopt },
        { "/a b", std::nullopt },
        { "/a\r\nX-Injected: 1", std::nullopt },
    };
    for (const auto& [text, url] : cases)
        EXPECT_EQ(update::resolveLocation(base, text), url) << text;
    EXPECT_EQ(update::resolveLocation({ "::1", 80, "/x/y" }, "z"), (HttpUrl { "::1", 80, "/x/z" }));
}

TEST(ReplyReader, TheFirstLineMustBeAnHttpStatusLine)
{
    for (const char* first : { "Quorvane 0.99", "HTTP/1.0 2OO OK", "HTTP/1.0", "ICY 200 OK",
             "HTTP/1.0 99 Low", "HTTP/1.0 1000 High" }) {
        update::HttpReplyReader reader;
        EXPECT_FALSE(reader.feed(std::string(first) + "\r\n\r\nQuorvane 0.99")) << first;
        EXPECT_NE(reader.failure().find("status line"), std::string::npos) << reader.failure();
    }
    update::HttpReplyReader odd;
    EXPECT_TRUE(odd.feed("HTTP/1.1 999 Odd\r\n\r\n"));
    EXPECT_EQ(odd.status(), 999);
    update::HttpReplyReader cut;
    ASSERT_TRUE(cut.feed("HTTP/1.0 200 OK\r\nServer: x"));
    EXPECT_FALSE(cut.end());
    EXPECT_NE(cut.failure().find("before the end of the reply's headers"), std::string::npos);
    update::HttpReplyReader bare;
    ASSERT_TRUE(bare.feed("Quorvane 0.99"));
    EXPECT_FALSE(bare.end());
    EXPECT_NE(bare.failure().find("status line"), std::string::npos);
}

TEST(ReplyReader, ContentLengthFramesTheBodyAndAShorterOneIsCutOff)
{
    update::HttpReplyReader whole;
    ASSERT_TRUE(whole.feed("HTTP/1.0 200 OK\r\ncontent-length:  13 \r\nContent-Length: 13\r\n\r\n"
                           "Quorvane"));
    EXPECT_FALSE(whole.complete());
    ASSERT_TRUE(whole.feed(" 0.99 and what follows"));
    EXPECT_TRUE(whole.complete());
    EXPECT_EQ(whole.body(), "Quorvane 0.99");
    EXPECT_TRUE(whole.end());

    update::HttpReplyReader shorter;
    ASSERT_TRUE(shorter.feed("HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\nQuorvane 0.99"));
    EXPECT_FALSE(shorter.complete());
    EXPECT_FALSE(shorter.end());
    EXPECT_EQ(
        shorter.failure(), "the connection closed after 13 of the 20 bytes the reply announced");

    update::HttpReplyReader unframed;
    ASSERT_TRUE(unframed.feed("HTTP/1.0 200 OK\r\n\r\nQuorvane 0.99"));
    EXPECT_FALSE(unframed.complete()) << "without a length only the close ends the body";
    EXPECT_TRUE(unframed.end());

    for (const char* bad : { "Content-Length: 12a", "Content-Length:", "Content-Length: -1",
             "Content-Length: 99999999999999999999999", "Content-Length: 1000000" }) {
        update::HttpReplyReader reader;
        EXPECT_FALSE(reader.feed("HTTP/1.0 200 OK\r\n" + std::string(bad) + "\r\n\r\n")) << bad;
    }
    update::HttpReplyReader twice;
    EXPECT_FALSE(twice.feed("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n"));
}

TEST(ReplyReader, AChunkedBodyIsDecodedFromPiecesOfAnySize)
{
    const std::string reply
        = "HTTP/1.0 200 OK\r\nTransfer-Encoding: Chunked\r\n"
          "Content-Length: 3\r\n\r\n"
          "9\r\nQuorvane \r\n4;name=value\nZZZZ\r\n0\r\nX-Trailer: t\r\n\r\nignored";
    const std::size_t end = reply.find("ignored");
    for (const std::size_t piece : { std::size_t { 1 }, std::size_t { 2 }, reply.size() }) {
        update::HttpReplyReader reader;
        for (std::size_t at = 0; at < reply.size(); at += piece) {
            EXPECT_EQ(reader.complete(), at >= end) << at;
            ASSERT_TRUE(reader.feed(std::string_view(reply).substr(at, piece))) << reader.failure();
        }
        EXPECT_TRUE(reader.complete());
        EXPECT_EQ(reader.body(), "Quorvane ZZZZ");
        EXPECT_TRUE(reader.end());
    }

    update::HttpReplyReader unfinished;
    ASSERT_TRUE(unfinished.feed("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "d\r\nQuorvane 0.99\r\n"));
    EXPECT_FALSE(unfinished.end());
    EXPECT_EQ(unfinished.failure(), "the connection closed before the last chunk of the body");

    for (const char* bad :
        { "x\r\n", "\r\n", "3\r\nabcd\r\n", "fffffffffffffffffffff\r\n", "10001\r\n" }) {
        update::HttpReplyReader reader;
        EXPECT_FALSE(
            reader.feed("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string(bad)))
            << bad;
        EXPECT_NE(reader.failure().find("chunked body"), std::string::npos) << reader.failure();
    }
    update::HttpReplyReader zipped;
    EXPECT_FALSE(zipped.feed("HTTP/1.0 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n"));
    EXPECT_EQ(zipped.failure(), "a body in a transfer encoding other than chunked");
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
