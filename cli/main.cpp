// quorvane-cli: the batch front end over the rename engine.
#include "check_update_command.h"
#include "cli_commands.h"
#include "cli_language.h"
#include "cli_options.h"
#include "journal_commands.h"
#include "listing_command.h"
#include "platform/stop_signal.h"
#include "terminal_text.h"

#include "engine/journal_writer.h"
#include "lang/lang_error.h"
#include "platform/posix_file_system.h"

#include <iostream>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace quorvane;

/// The commands that parse their own arguments; -1 when `args` names none of them.
int runOwnParserCommand(std::span<const std::string> args)
{
    if (args.empty())
        return -1;
    if (args[0] == "listing") {
        platform::PosixFileSystem fs;
        return cli::runListing(args.subspan(1), fs, std::cout, std::cerr);
    }
    if (args[0] == "check-update")
        return cli::runCheckUpdate(args.subspan(1), std::cout, std::cerr);
    if (args[0] == "history")
        return cli::runHistory(
            args.subspan(1), engine::defaultRunsDirectory(), std::cout, std::cerr);
    if (args[0] == "undo") {
        platform::PosixFileSystem fs;
        return cli::runUndo(
            args.subspan(1), fs, engine::defaultRunsDirectory(), std::cout, std::cerr);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (const int status = runOwnParserCommand(args); status >= 0)
            return status;
    } catch (const std::exception& e) {
        std::cerr << "quorvane-cli: " << cli::escapeForTerminal(std::string_view(e.what())) << '\n';
        return 2;
    }
    cli::ParseResult parsed = cli::parseCommandLine(args);
    if (!parsed.command) {
        std::cerr << "quorvane-cli: " << cli::escapeForTerminal(parsed.error) << '\n';
        return 2;
    }
    if (parsed.command->mode == cli::CliMode::Help) {
        std::cout << cli::usageText() << '\n'
                  << cli::listingUsageText() << '\n'
                  << "  " << cli::checkUpdateUsage();
        return 0;
    }
    if (parsed.command->language) {
        if (const std::string error = cli::useLanguageFile(*parsed.command->language);
            !error.empty()) {
            std::cerr << "quorvane-cli: " << cli::escapeForTerminal(error) << '\n';
            return 2;
        }
    }
    // Only a real run has something to finish cleanly; a preview or a filter may simply die.
    if (parsed.command->mode == cli::CliMode::Rename)
        platform::installStopHandlers();
    try {
        platform::PosixFileSystem fs;
        return cli::runCommand(*parsed.command, fs, std::cin, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "quorvane-cli: " << cli::escapeForTerminal(std::string_view(e.what())) << '\n';
        return 2;
    }
}
