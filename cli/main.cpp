// quorvane-cli: the batch front end over the rename engine.
#include "cli_commands.h"
#include "cli_options.h"
#include "platform/stop_signal.h"
#include "terminal_text.h"

#include "lang/lang_error.h"
#include "platform/posix_file_system.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quorvane;
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::ParseResult parsed = cli::parseCommandLine(args);
    if (!parsed.command) {
        std::cerr << "quorvane-cli: " << cli::escapeForTerminal(parsed.error) << '\n';
        return 2;
    }
    if (parsed.command->mode == cli::CliMode::Help) {
        std::cout << cli::usageText();
        return 0;
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
