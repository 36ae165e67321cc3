// quorvane-cli check-update: asks the version server whether a newer version exists.
#include "check_update_command.h"

#include "terminal_text.h"

#ifndef QUORVANE_NO_NETWORK
#include "app/update/http_url.h"
#include "app/update/update_outcome.h"
#include "app/update/update_request.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <exception>
#include <memory>
#endif

#include <optional>
#include <ostream>

namespace quorvane::cli {

namespace {

constexpr int kBadArguments = 2;

#ifndef QUORVANE_NO_NETWORK

/// The message's lines, each made safe for a terminal.
void printMessage(std::u32string_view text, std::ostream& out)
{
    while (true) {
        const auto end = text.find_first_of(U"\r\n");
        out << escapeForTerminal(text.substr(0, end)) << '\n';
        if (end == std::u32string_view::npos)
            return;
        const bool crlf = text.substr(end).starts_with(U"\r\n");
        text.remove_prefix(end + (crlf ? 2 : 1));
        if (text.empty())
            return;
    }
}

/// Waits for one request on an event loop of its own.
update::FetchResult fetch(const update::HttpUrl& server)
{
    // Sockets need the core application's event dispatcher; a caller that has an application
    // (a test, a future GUI caller) keeps its own.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "quorvane-cli";
        static char* argv[] = { name, nullptr };
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    update::UpdateRequest request;
    update::FetchResult result;
    QEventLoop loop;
    QObject::connect(
        &request, &update::UpdateRequest::finished, &loop, [&](const update::FetchResult& fetched) {
            result = fetched;
            loop.quit();
        });
    if (request.start(server))
        loop.exec();
    return result;
}

/// Asks `server` and tells what it said; the exit status.
int checkAt(const update::HttpUrl& server, std::ostream& out, std::ostream& errors)
{
    const update::FetchResult result = fetch(server);
    const update::UpdateOutcome outcome = update::judge(result);
    printMessage(update::outcomeMessage(outcome, result.body), out);
    switch (outcome) {
    case update::UpdateOutcome::UpToDate:
        return kUpToDate;
    case update::UpdateOutcome::NewVersion:
        return kNewVersionOffered;
    case update::UpdateOutcome::CantCheck:
        break;
    }
    const std::string why = update::failureReason(result);
    errors << "quorvane-cli: check-update: " << escapeForTerminal(std::string_view(why)) << '\n';
    return kCheckFailed;
}

#endif

} // namespace

const char* checkUpdateUsage()
{
    return R"(quorvane-cli check-update [--server URL]      whether a newer version exists

check-update asks the version server (or URL, http:// only), as the window's
"Cerca aggiornamenti" does, and prints the message the window would show.
Exit status: 0 up to date, 3 another version is offered, 1 the check could not
be made (the reason on stderr), 2 bad usage.
)";
}

int runCheckUpdate(std::span<const std::string> args, std::ostream& out, std::ostream& errors)
{
    std::optional<std::string> serverText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--server" && i + 1 < args.size() && !serverText) {
            serverText = args[++i];
            continue;
        }
        const std::string why = args[i] == "--server"
            ? (serverText ? "--server given twice" : "--server needs a value")
            : "unknown argument \"" + args[i] + "\"";
        errors << "quorvane-cli: check-update: " << escapeForTerminal(std::string_view(why))
               << '\n';
        return kBadArguments;
    }
#ifdef QUORVANE_NO_NETWORK
    (void)out;
    errors << "quorvane-cli: check-update: this build has no network client (built with "
              "QUORVANE_CORE_ONLY)\n";
    return kCheckFailed;
#else
    update::HttpUrl server = update::defaultServer();
    if (serverText) {
        const std::optional<update::HttpUrl> parsed = update::parseHttpUrl(*serverText);
        if (!parsed) {
            errors << "quorvane-cli: check-update: --server: \""
                   << escapeForTerminal(std::string_view(*serverText))
                   << "\" is not an http:// URL\n";
            return kBadArguments;
        }
        server = *parsed;
    }
    try {
        return checkAt(server, out, errors);
    } catch (const std::exception& e) {
        // A message text that cannot be found (a broken language) is still a failed check.
        errors << "quorvane-cli: check-update: " << escapeForTerminal(std::string_view(e.what()))
               << '\n';
        return kCheckFailed;
    }
#endif
}

} // namespace quorvane::cli
