// quorvane-cli listing: a directory's listing as the window prints it, on standard output.
#include "listing_command.h"

#include "terminal_text.h"

#include "engine/listing_builder.h"
#include "platform/collator.h"
#include "platform/name_codec.h"

#include <optional>
#include <ostream>
#include <string_view>

namespace quorvane::cli {

namespace {

struct ListingCommand
{
    std::optional<std::string> directory;
    engine::ListingSource source;
    engine::ListingOptions options;
};

/// The switches that turn one option off.
struct Switch
{
    std::string_view name;
    bool engine::ListingOptions::*option;
};

constexpr Switch kSwitches[] = {
    { "--no-heading", &engine::ListingOptions::PrintHeading },
    { "--no-totals", &engine::ListingOptions::PrintTotals },
    { "--no-subdirs", &engine::ListingOptions::PrintSubdirs },
    { "--no-dir-names", &engine::ListingOptions::PrintDirNames },
    { "--no-sizes", &engine::ListingOptions::PrintSizes },
    { "--no-dates", &engine::ListingOptions::PrintDates },
    { "--no-attributes", &engine::ListingOptions::PrintAttributes },
    { "--no-extensions", &engine::ListingOptions::PrintExtensions },
};

/// The command, or the one-line reason it is refused.
std::optional<ListingCommand> parse(std::span<const std::string> args, std::ostream& errors)
{
    ListingCommand command;
    auto refuse = [&](const std::string& reason) {
        errors << "quorvane-cli: " << escapeForTerminal(std::string_view(reason)) << '\n';
        return std::nullopt;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.starts_with("-")) {
            if (arg == "--mask" || arg == "--title") {
                if (i + 1 == args.size())
                    return refuse(arg + " needs a value");
                const std::u32string value = platform::decodeName(args[++i]);
                if (arg == "--mask") {
                    if (value.empty())
                        return refuse("--mask needs a value");
                    command.source.mask = value;
                } else {
                    command.options.PrintTitle = true;
                    command.options.PrintTitleText = value;
                }
                continue;
            }
            bool known = false;
            for (const Switch& s : kSwitches) {
                if (arg == s.name) {
                    command.options.*s.option = false;
                    known = true;
                }
            }
            if (!known)
                return refuse("unknown option " + arg);
            continue;
        }
        if (command.directory)
            return refuse("listing takes one directory, not also " + arg);
        command.directory = arg;
    }
    if (!command.directory)
        return refuse("listing needs a directory");
    command.source.directory = platform::decodeName(*command.directory);
    return command;
}

} // namespace

int runListing(std::span<const std::string> argsAfterCommandName, platform::FileSystem& fs,
    std::ostream& out, std::ostream& errors)
{
    const std::optional<ListingCommand> command = parse(argsAfterCommandName, errors);
    if (!command)
        return 2;
    const engine::LocaleListingDateFormat dates;
    const platform::Collator collator;
    // Names that are not valid UTF-8 are written as U+FFFD: the output is a text, not names
    // to be used again, and it must be valid UTF-8 for whatever reads it.
    const engine::ListingReport report
        = engine::writeListing(fs, command->source, command->options, dates, collator,
            [&out](std::u32string_view block) { out << platform::toDisplayUtf8(block); });
    if (report.failure) {
        errors << "quorvane-cli: cannot list " << escapeForTerminal(*command->directory) << ": "
               << report.failure->text() << '\n';
        return 2;
    }
    out.flush();
    if (!out) {
        errors << "quorvane-cli: cannot write the listing\n";
        return 2;
    }
    for (const platform::SysError& error : report.unreadable)
        errors << "quorvane-cli: listed as empty, " << escapeForTerminal(error.describe()) << '\n';
    return report.unreadable.empty() ? 0 : 1;
}

const char* listingUsageText()
{
    return R"(  quorvane-cli listing DIR [LISTING]           the listing of DIR, as the window prints it

listing writes the entries of DIR that match the mask, one line each with size,
date and attributes, sorted by name; every subdirectory follows as a block of its
own. UTF-8 with CR LF line ends; dates in the LC_TIME locale's formats.

LISTING:
  --mask GLOB         entries listed (default *.*; several separated by ";")
  --title TEXT        a title line at the top
  --no-heading  --no-totals  --no-subdirs  --no-dir-names
  --no-sizes  --no-dates  --no-attributes  --no-extensions
)";
}

} // namespace quorvane::cli
