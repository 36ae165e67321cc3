// quorvane-cli check-update: what it prints and its exit status for each kind of answer.
#include "http_test_server.h"

#include "cli/check_update_command.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvane::test {
namespace {

struct CliCase
{
    const char* name;
    std::vector<Answer> answers; ///< empty: no server listens at the port
    std::vector<std::string> args; ///< "{URL}" becomes the server's address
    int status;
    const char* printed; ///< a line expected on stdout
};

class CheckUpdateCommand : public ::testing::TestWithParam<CliCase>
{
};

TEST_P(CheckUpdateCommand, PrintsTheWindowsMessageAndExitsByOutcome)
{
    const CliCase& c = GetParam();
    std::optional<HttpTestServer> server;
    std::string url = "http://127.0.0.1:1/quorvane-latest-version";
    if (!c.answers.empty()) {
        server.emplace(c.answers);
        url = server->url();
    }
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
        if (arg == "{URL}")
            arg = url;
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(cli::runCheckUpdate(args, out, errors), c.status) << errors.str();
    EXPECT_NE(out.str().find(c.printed), std::string::npos) << out.str();
    EXPECT_EQ(
        errors.str().empty(), c.status == cli::kUpToDate || c.status == cli::kNewVersionOffered)
        << errors.str();
}

INSTANTIATE_TEST_SUITE_P(Answers, CheckUpdateCommand,
    ::testing::Values(CliCase { "UpToDate", { { "HTTP/1.0 200 OK\r\n\r\nQuorvane 0.99" } },
                          { "--server", "{URL}" }, cli::kUpToDate,
                          "Stai gi\xc3\xa0 usando l'ultima versione disponibile\n" },
        // Each line of the message on a line of its own, the server's control characters gone.
        CliCase { "NewVersion", { { "HTTP/1.0 200 OK\r\n\r\nQuorvane 1.00\x1b]0;x\a" } },
            { "--server", "{URL}" }, cli::kNewVersionOffered,
            "E' disponibile una nuova versione:\nQuorvane 1.00]0;x\nScaricala da " },
        CliCase { "ConnectionRefused", {}, { "--server", "{URL}" }, cli::kCheckFailed,
            "Impossibile cercare nuova versione\n" },
        CliCase { "NotHttp", {}, { "--server", "https://127.0.0.1/" }, 2, "" },
        CliCase { "UnknownArgument", {}, { "--verbose" }, 2, "" }),
    [](const ::testing::TestParamInfo<CliCase>& c) { return std::string(c.param.name); });

TEST(CheckUpdateCommand, TheReasonOfAFailedCheckIsPrinted)
{
    HttpTestServer server({ { "HTTP/1.0 503 Busy\r\n\r\nQuorvane 0.99" } });
    std::ostringstream out;
    std::ostringstream errors;
    const std::vector<std::string> args = { "--server", server.url() };
    EXPECT_EQ(cli::runCheckUpdate(args, out, errors), cli::kCheckFailed);
    EXPECT_NE(out.str().find("Impossibile cercare nuova versione"), std::string::npos);
    EXPECT_EQ(errors.str(), "quorvane-cli: check-update: status 503 instead of 200\n");
}

} // namespace
} // namespace quorvane::test
