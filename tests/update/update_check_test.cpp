// The update check against real servers on 127.0.0.1: every outcome, as the window sees it.
#include "http_test_server.h"

#include "app/modal_driver.h"
#include "support/scripted_prompts.h"

#include "app/qt_prompts.h"
#include "app/update/update_check.h"

#include <quorvane_version.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;
using update::UpdateCheck;
using update::UpdateOutcome;
using update::UpdateTrigger;

QByteArray ok(const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nServer: test\r\n\r\n" + body;
}
QByteArray redirect(const char* status, const QByteArray& target)
{
    return QByteArray("HTTP/1.0 ") + status + "\r\nLocation: " + target + "\r\n\r\nmoved";
}

/// Runs one check to its end: the outcome and the messages it told.
struct CheckRun
{
    explicit CheckRun(const std::string& server, std::chrono::milliseconds inactivity = 500ms)
    {
        check.setServer(*update::parseHttpUrl(server));
        check.request().setInactivityTimeout(inactivity);
        check.request().setTotalTimeout(3s);
    }
    UpdateOutcome run(UpdateTrigger trigger)
    {
        QSignalSpy spy(&check, &UpdateCheck::finished);
        EXPECT_TRUE(check.start(trigger));
        EXPECT_TRUE(spy.wait(10000));
        return spy.isEmpty() ? UpdateOutcome::CantCheck : spy.at(0).at(0).value<UpdateOutcome>();
    }
    ScriptedPrompts prompts;
    UpdateCheck check { prompts };
};

struct OutcomeCase
{
    const char* name;
    std::vector<Answer> answers;
    UpdateOutcome outcome;
    qsizetype requests; ///< how many requests the server must have seen
};

class UpdateCheckOutcome : public ::testing::TestWithParam<OutcomeCase>
{
};

TEST_P(UpdateCheckOutcome, MenuCommandTellsWhatTheServerSaid)
{
    HttpTestServer server(GetParam().answers);
    CheckRun run(server.url());
    EXPECT_EQ(run.run(UpdateTrigger::Manual), GetParam().outcome);
    ASSERT_EQ(run.prompts.messages.size(), 1U);
    EXPECT_EQ(run.prompts.messages[0].id, update::constantNameOf(GetParam().outcome));
    EXPECT_TRUE(run.prompts.messages[0].plainText);
    ASSERT_EQ(server.requests().size(), GetParam().requests);
    EXPECT_EQ(server.requests()[0].toStdString(),
        update::requestBytes({ "127.0.0.1", server.port(), "/quorvane-latest-version" }));
    EXPECT_FALSE(run.check.isWaiting());
}

/// The file the project ships for the version server to send.
QByteArray shippedFile()
{
    QFile file(QStringLiteral(QUORVANE_WEB_DIR "/quorvane-latest-version"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

const QByteArray kLongLine = "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(9000, 'x') + "\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(Servers, UpdateCheckOutcome,
    ::testing::Values(
        OutcomeCase { "UpToDate", { { ok("Quorvane 0.99") } }, UpdateOutcome::UpToDate, 1 },
        OutcomeCase { "ShippedServerFile", { { ok(shippedFile()) } }, UpdateOutcome::UpToDate, 1 },
        OutcomeCase { "Newer", { { ok("Quorvane 1.00") } }, UpdateOutcome::NewVersion, 1 },
        OutcomeCase { "OwnVersionAndLineBreak", { { ok("Quorvane 0.99\r\n") } },
            UpdateOutcome::NewVersion, 1 },
        OutcomeCase { "WrongCase", { { ok("QUORVANE 1.00") } }, UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "NotFoundPage",
            { { "HTTP/1.0 404 Not Found\r\n\r\n<html><body>Not Found</body></html>" } },
            UpdateOutcome::CantCheck, 1 },
        // Only the server's own answer counts, not a page that happens to quote a version.
        OutcomeCase { "ErrorStatusWithVersionBody",
            { { "HTTP/1.0 500 Oops\r\n\r\nQuorvane 0.99" } }, UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "OddStatusWithVersionBody", { { "HTTP/1.0 999 Odd\r\n\r\nQuorvane 0.99" } },
            UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "NoStatusLine", { { "Quorvane 0.99\r\n\r\nQuorvane 0.99" } },
            UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "BodyShorterThanItsLength",
            { { "HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\nQuorvane 0.99" } },
            UpdateOutcome::CantCheck, 1 },
        // The length ends the body: no need to wait for a close that never comes.
        OutcomeCase { "LengthEndsTheBody",
            { { "HTTP/1.0 200 OK\r\nContent-Length: 13\r\n\r\nQuorvane 0.99 and more", false } },
            UpdateOutcome::UpToDate, 1 },
        OutcomeCase { "Chunked",
            { { "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                "9\r\nQuorvane \r\n4\r\n1.00\r\n0\r\n\r\n",
                false } },
            UpdateOutcome::NewVersion, 1 },
        OutcomeCase { "ChunkedWithoutItsLastChunk",
            { { "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nd\r\nQuorvane 0.99\r\n" } },
            UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "RelativeRedirects",
            { { redirect("301 Moved", "/a/b") }, { redirect("302 Found", "c?x=1") },
                { redirect("302 Found", "//127.0.0.1:{PORT}/d") }, { ok("Quorvane 0.99") } },
            UpdateOutcome::UpToDate, 4 },
        OutcomeCase { "RedirectChain",
            { { redirect("301 Moved", "http://127.0.0.1:{PORT}/b") },
                { redirect("300 Choices", "HTTP://127.0.0.1:{PORT}/c") },
                { redirect("302 Found", "http://127.0.0.1:{PORT}/d") }, { ok("Quorvane 0.99") } },
            UpdateOutcome::UpToDate, 4 },
        OutcomeCase { "EndlessRedirects", { { redirect("302 Found", "http://127.0.0.1:{PORT}/") } },
            UpdateOutcome::CantCheck, 1 + update::UpdateRequest::kMaxRedirects },
        OutcomeCase { "RedirectToHttps", { { redirect("302 Found", "https://127.0.0.1:{PORT}/") } },
            UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "HugeBody",
            { { ok("Quorvane " + QByteArray(qsizetype { 200 } * 1024, '9')), false } },
            UpdateOutcome::CantCheck, 1 },
        OutcomeCase {
            "EndlessHeaderLine", { { kLongLine + "Quorvane 0.99" } }, UpdateOutcome::CantCheck, 1 },
        OutcomeCase { "Silence", { { {}, false } }, UpdateOutcome::CantCheck, 1 },
        // About 50 bytes, one every 15 ms: longer than the 500 ms of silence allowed, but
        // every byte restarts the clock.
        OutcomeCase { "EveryPacketRestartsTheTimer", { { ok("Quorvane 0.99"), true, 15 } },
            UpdateOutcome::UpToDate, 1 }),
    [](const ::testing::TestParamInfo<OutcomeCase>& c) { return std::string(c.param.name); });

TEST(UpdateCheck, ARelativeLocationIsAskedAtTheServerThatSentIt)
{
    HttpTestServer server({ { redirect("301 Moved", "/a/b") }, { redirect("302 Found", "c?x=1") },
        { redirect("302 Found", "../d") }, { ok("Quorvane 0.99") } });
    CheckRun run(server.url());
    EXPECT_EQ(run.run(UpdateTrigger::Manual), UpdateOutcome::UpToDate);
    std::vector<std::string> paths;
    for (const QByteArray& request : server.requests())
        paths.push_back(request.left(request.indexOf('\r')).toStdString());
    EXPECT_EQ(paths,
        (std::vector<std::string> { "GET /quorvane-latest-version HTTP/1.0", "GET /a/b HTTP/1.0",
            "GET /a/c?x=1 HTTP/1.0", "GET /d HTTP/1.0" }));
}

TEST(UpdateCheck, AFailedRequestSaysWhy)
{
    const std::pair<QByteArray, std::string> cases[] = {
        { "HTTP/1.0 500 Oops\r\n\r\nQuorvane 0.99", "status 500 instead of 200" },
        { "Quorvane 0.99", "no HTTP status line" },
        { "HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\nQuorvane 0.99",
            "after 13 of the 20 bytes" },
        { "HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nQuorvane 0.99\r\n",
            "chunk size that is not a hexadecimal number" },
        { "HTTP/1.0 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n", "other than chunked" },
        { "HTTP/1.0 200 OK\r\n", "before the end of the reply's headers" },
        { "HTTP/1.0 200 OK\r\n\r\nQUORVANE 1", "not a version of Quorvane" },
    };
    for (const auto& [answer, reason] : cases) {
        HttpTestServer server({ { answer } });
        update::UpdateRequest request;
        request.setInactivityTimeout(2s);
        QSignalSpy spy(&request, &update::UpdateRequest::finished);
        ASSERT_TRUE(request.start(*update::parseHttpUrl(server.url())));
        ASSERT_TRUE(spy.wait(10000));
        const auto result = spy.at(0).at(0).value<update::FetchResult>();
        EXPECT_EQ(update::judge(result), UpdateOutcome::CantCheck) << answer.toStdString();
        EXPECT_NE(update::failureReason(result).find(reason), std::string::npos)
            << answer.toStdString() << ": " << update::failureReason(result);
    }
}

TEST(UpdateCheck, AServerThatTricklesForeverIsGivenUp)
{
    HttpTestServer server({ { ok("Quorvane 0.99"), true, 15 } });
    CheckRun run(server.url());
    run.check.request().setTotalTimeout(300ms);
    EXPECT_EQ(run.run(UpdateTrigger::Manual), UpdateOutcome::CantCheck);
}

TEST(UpdateCheck, AtStartUpAnUpToDateAnswerIsNotReportedButOthersAre)
{
    HttpTestServer server({ { ok("Quorvane 0.99") }, { ok("Quorvane 1.00") } });
    CheckRun run(server.url());
    EXPECT_EQ(run.run(UpdateTrigger::Automatic), UpdateOutcome::UpToDate);
    EXPECT_TRUE(run.prompts.messages.empty());
    EXPECT_EQ(run.run(UpdateTrigger::Automatic), UpdateOutcome::NewVersion);
    ASSERT_EQ(run.prompts.messages.size(), 1U);
    EXPECT_EQ(run.prompts.messages[0].id, "NEW_VERSION");
}

TEST(UpdateCheck, ASecondCheckWhileOneWaitsIsRefusedAndTheFirstGoesOn)
{
    HttpTestServer server({ { ok("Quorvane 1.00"), true, 20 } });
    CheckRun run(server.url());
    QSignalSpy spy(&run.check, &UpdateCheck::finished);
    ASSERT_TRUE(run.check.start(UpdateTrigger::Manual));
    EXPECT_FALSE(run.check.start(UpdateTrigger::Manual));
    EXPECT_FALSE(run.check.start(UpdateTrigger::Automatic));
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_EQ(spy.at(0).at(0).value<UpdateOutcome>(), UpdateOutcome::NewVersion);
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(run.prompts.messages.size(), 1U);
}

TEST(UpdateCheck, SilenceEndsTheCheckAfterFourSecondsByDefault)
{
    HttpTestServer server({ { {}, false } });
    CheckRun run(server.url(), update::UpdateRequest::kDefaultInactivityTimeout);
    run.check.request().setTotalTimeout(update::UpdateRequest::kDefaultTotalTimeout);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run.run(UpdateTrigger::Manual), UpdateOutcome::CantCheck);
    EXPECT_GE(clock.elapsed(), 3990);
    EXPECT_LT(clock.elapsed(), 8000) << "a loaded machine may be late, but not by seconds";
}

TEST(UpdateCheck, HtmlFromTheServerIsShownAsPlainTextWithoutControlCharacters)
{
    HttpTestServer server(
        { { ok("Quorvane <b>2.0</b> <img src=\"http://127.0.0.1:1/x.png\">\a\x1b[31m") } });
    app::QtPrompts prompts;
    UpdateCheck check(prompts);
    check.setServer(*update::parseHttpUrl(server.url()));
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    ModalDriver driver([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            format = box->textFormat();
            if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                shown = label->text();
        }
        ModalDriver::press(modal, Qt::Key_Return);
    });
    QSignalSpy spy(&check, &UpdateCheck::finished);
    ASSERT_TRUE(check.start(UpdateTrigger::Manual));
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_EQ(driver.driven(), 1);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_TRUE(shown.contains(
        QStringLiteral("\nQuorvane <b>2.0</b> <img src=\"http://127.0.0.1:1/x.png\">[31m\n")))
        << shown.toStdString();
}

} // namespace
} // namespace quorvane::test
