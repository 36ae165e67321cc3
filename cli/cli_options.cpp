// The command line of quorvane-cli.
#include "cli_options.h"

#include "platform/name_codec.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>

namespace quorvane::cli {

namespace {

using engine::RenameOptions;

/// The parser's working state: the command being filled and the arguments left.
class Parser
{
public:
    explicit Parser(std::span<const std::string> args)
        : m_args(args)
    { }

    ParseResult run();

private:
    [[nodiscard]] bool nextValue(const std::string& option, std::string& value);
    [[nodiscard]] bool integer(
        const std::string& option, std::int64_t low, std::int64_t high, std::int64_t& out);
    [[nodiscard]] bool parseOption(const std::string& arg);
    [[nodiscard]] bool ruleOption(const std::string& arg);
    [[nodiscard]] bool scopeOption(const std::string& arg);
    [[nodiscard]] bool fail(std::string message)
    {
        m_error = std::move(message);
        return false;
    }
    [[nodiscard]] bool validate();
    [[nodiscard]] bool validateLists();
    [[nodiscard]] ParseResult albums();

    std::span<const std::string> m_args;
    std::size_t m_next = 0;
    CliCommand m_command;
    std::string m_error;
    bool m_sawScope = false;
    bool m_sawMask = false;
    std::optional<std::string> m_replaceFrom;
    std::optional<std::string> m_replaceTo;
};

bool Parser::nextValue(const std::string& option, std::string& value)
{
    if (m_next >= m_args.size())
        return fail(option + " needs a value");
    value = m_args[m_next++];
    return true;
}

bool Parser::integer(
    const std::string& option, std::int64_t low, std::int64_t high, std::int64_t& out)
{
    std::string value;
    if (!nextValue(option, value))
        return false;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, out);
    if (ec != std::errc {} || ptr != end || value.empty())
        return fail(option + ": \"" + value + "\" is not a whole number");
    if (out < low || out > high)
        return fail(option + ": " + value + " is out of range (" + std::to_string(low) + " to "
            + std::to_string(high) + ")");
    return true;
}

bool Parser::ruleOption(const std::string& arg)
{
    static const std::map<std::string, bool RenameOptions::*, std::less<>> switches {
        { "--no-first-capital", &RenameOptions::CheckBox9 },
        { "--no-capital-after-space", &RenameOptions::CheckBox6 },
        { "--no-capital-after-dash", &RenameOptions::CheckBox12 },
        { "--no-keep-ext-dot", &RenameOptions::KeepExtDot },
    };
    static const std::map<std::string, bool RenameOptions::*, std::less<>> flags {
        { "--underscores", &RenameOptions::CheckBox8 },
        { "--expand-dashes", &RenameOptions::CheckBox11 },
        { "--dos", &RenameOptions::dosnames1 },
        { "--accents", &RenameOptions::HandleAccents },
        { "--compact-spaces", &RenameOptions::CompactSpaces },
        { "--short-names", &RenameOptions::Rinominainformato831 },
    };
    auto& options = m_command.options;
    auto& state = m_command.state;
    if (const auto it = switches.find(arg); it != switches.end()) {
        options.*(it->second) = false;
        return true;
    }
    if (const auto it = flags.find(arg); it != flags.end()) {
        options.*(it->second) = true;
        return true;
    }
    std::string value;
    std::int64_t number = 0;
    if (arg == "--case") {
        static const std::map<std::string, int, std::less<>> modes { { "keep", 0 },
            { "optimize", 1 }, { "upper", 2 }, { "lower", 3 } };
        if (!nextValue(arg, value))
            return false;
        const auto it = modes.find(value);
        if (it == modes.end())
            return fail("--case: \"" + value + "\" is not keep, optimize, upper or lower");
        options.ComboBox1 = it->second;
    } else if (arg == "--layout") {
        if (!nextValue(arg, value))
            return false;
        m_command.layoutWords.push_back(platform::decodeName(value));
        options.NumerazioneFiles1 = true;
    } else if (arg == "--digits") {
        if (!integer(arg, 1, 8, number))
            return false;
        state.NumDigits = static_cast<int>(number);
    } else if (arg == "--start" || arg == "--step") {
        if (!integer(arg, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max(), number))
            return false;
        (arg == "--start" ? state.NumStart : state.NumStep) = static_cast<std::int32_t>(number);
    } else if (arg == "--remove-numbers") {
        if (!integer(arg, 0, 3, number))
            return false;
        options.EliminaNumerazioneFiles1 = true;
        state.DelNumMode = static_cast<int>(number);
    } else if (arg == "--leading-only") {
        state.DelNumLeadingOnly = true;
    } else if (arg == "--delete") {
        if (!nextValue(arg, value))
            return false;
        if (value.empty())
            return fail("--delete needs a sequence that is not empty");
        options.EliminaSequenzaCaratteri1 = true;
        state.DeleteSeq = platform::decodeName(value);
    } else if (arg == "--replace" || arg == "--with") {
        if (!nextValue(arg, value))
            return false;
        (arg == "--replace" ? m_replaceFrom : m_replaceTo) = value;
    } else if (arg == "--names-from") {
        if (!nextValue(arg, value))
            return false;
        m_command.namesFrom = value;
        options.RinominadaFile1 = true;
    } else if (arg == "--cdplayer" || arg == "--album") {
        if (!nextValue(arg, value))
            return false;
        (arg == "--cdplayer" ? m_command.cdPlayer : m_command.album) = value;
    } else {
        return false;
    }
    return true;
}

bool Parser::scopeOption(const std::string& arg)
{
    auto& scope = m_command.scope;
    std::string value;
    if (arg == "--mask") {
        if (!nextValue(arg, value))
            return false;
        scope.mask = platform::decodeName(value);
        m_sawMask = true;
    } else if (arg == "--no-dirs") {
        scope.renameDirectories = false;
    } else if (arg == "--recursive") {
        scope.recursive = true;
    } else if (arg == "--dirs-only") {
        scope.directoriesOnly = true;
    } else if (arg == "--select") {
        if (!nextValue(arg, value))
            return false;
        // A path would let the run move an entry from elsewhere into DIR.
        if (value.empty() || value == "." || value == ".." || value.find('/') != std::string::npos)
            return fail("--select takes the name of a file in DIR, not a path: \"" + value + "\"");
        scope.selection.push_back(platform::decodeName(value));
    } else if (arg == "--attributes") {
        if (!nextValue(arg, value))
            return false;
        scope.setAttributes = true;
        for (const char letter : value) {
            switch (letter) {
            case 'R':
                scope.readOnly = true;
                break;
            case 'H':
                scope.hidden = true;
                break;
            case 'S':
                scope.system = true;
                break;
            case 'A':
                scope.archive = true;
                break;
            default:
                return fail("--attributes: \"" + value + "\" may hold only the letters R, H, S, A");
            }
        }
    } else if (arg == "--order") {
        if (!nextValue(arg, value))
            return false;
        m_command.orderFrom = value;
    } else if (arg == "--force") {
        m_command.force = true;
    } else if (arg == "--no-journal") {
        m_command.noJournal = true;
    } else if (arg == "--no-keep-extension") {
        // A transform's list names keep the extension as a run's do, so this is its too.
        m_command.keepExtension = false;
        return true;
    } else {
        return false;
    }
    m_sawScope = true;
    return true;
}

bool Parser::parseOption(const std::string& arg)
{
    if (arg == "-z") {
        m_command.nulSeparated = true;
        return true;
    }
    if (arg == "--language") {
        std::string value;
        if (!nextValue(arg, value))
            return false;
        m_command.language = value;
        return true;
    }
    if (ruleOption(arg) || scopeOption(arg))
        return true;
    if (m_error.empty())
        m_error = "unknown option " + arg;
    return false;
}

bool Parser::validate()
{
    auto& command = m_command;
    if (command.mode == CliMode::Transform && m_sawScope)
        return fail("transform takes no directory options");
    if (command.mode == CliMode::Rename && command.nulSeparated)
        return fail("-z belongs to transform and preview");
    if (m_replaceFrom.has_value() != m_replaceTo.has_value())
        return fail("--replace and --with go together");
    if (m_replaceFrom) {
        if (m_replaceFrom->empty() || m_replaceTo->empty())
            return fail("--replace and --with need sequences that are not empty");
        command.options.SostSeqCar1 = true;
        command.state.ReplaceFrom = platform::decodeName(*m_replaceFrom);
        command.state.ReplaceTo = platform::decodeName(*m_replaceTo);
    }
    if (command.options.NumerazioneFiles1 && command.options.EliminaNumerazioneFiles1)
        return fail("--layout and --remove-numbers exclude each other");
    if (command.scope.directoriesOnly)
        command.scope.renameDirectories = true; // only directories means directories are renamed
    return validateLists();
}

/// The options that give the run a list of its own: names, titles, or an order.
bool Parser::validateLists()
{
    auto& command = m_command;
    if (command.cdPlayer.has_value() != command.album.has_value())
        return fail("--cdplayer and --album go together");
    if (command.cdPlayer && command.namesFrom)
        return fail("--names-from and --cdplayer exclude each other");
    if (command.cdPlayer)
        command.options.RinominadaCDDB1 = true;
    if (command.namesFrom || command.cdPlayer) {
        // Names from a list go to the files of the directory alone.
        command.scope.renameDirectories = false;
        command.scope.recursive = false;
        command.scope.directoriesOnly = false;
    }
    if (!command.orderFrom)
        return true;
    if (!command.options.NumerazioneFiles1)
        return fail("--order sets the order of numbering: it needs --layout");
    if (command.namesFrom || command.cdPlayer)
        return fail("--order excludes --names-from and --cdplayer, which give their own order");
    // The list names every entry the run takes: nothing else may add to it or be ignored.
    if (!command.scope.selection.empty() || m_sawMask || command.scope.recursive
        || command.scope.directoriesOnly)
        return fail("--order names the entries itself: it takes no --select, --mask, --recursive "
                    "or --dirs-only");
    command.state.NumCustomOrder = true;
    return true;
}

ParseResult Parser::albums()
{
    m_command.mode = CliMode::Albums;
    if (m_next >= m_args.size())
        return { {}, "albums needs the CD player database (an INI file)" };
    m_command.cdPlayer = m_args[m_next++];
    if (m_next < m_args.size())
        return { {}, "albums takes one database, not also " + m_args[m_next] };
    return { std::move(m_command), {} };
}

ParseResult Parser::run()
{
    if (m_args.empty() || m_args[0] == "--help" || m_args[0] == "-h")
        return { m_command, {} };
    const std::string& verb = m_args[m_next++];
    if (verb == "albums")
        return albums();
    if (verb == "transform") {
        m_command.mode = CliMode::Transform;
    } else if (verb == "preview" || verb == "rename") {
        m_command.mode = verb == "preview" ? CliMode::Preview : CliMode::Rename;
        if (m_next >= m_args.size() || m_args[m_next].starts_with("--"))
            return { {}, verb + " needs a directory" };
        m_command.directory = m_args[m_next++];
        m_command.scope.directory = platform::decodeName(m_command.directory);
    } else {
        return { {}, "unknown command \"" + verb + "\" (try --help)" };
    }
    while (m_next < m_args.size()) {
        const std::string& arg = m_args[m_next++];
        if (!parseOption(arg))
            return { {}, m_error };
    }
    if (!validate())
        return { {}, m_error };
    return { std::move(m_command), {} };
}

} // namespace

ParseResult parseCommandLine(std::span<const std::string> args)
{
    return Parser(args).run();
}

const char* usageText()
{
    return R"(Usage:
  quorvane-cli transform [-z] [RULES]           entries on stdin, new names on stdout
  quorvane-cli preview DIR [-z] [SCOPE] [RULES] one row per entry: directory, old, new
  quorvane-cli rename DIR [SCOPE] [RULES]       renames, then prints the summary line
  quorvane-cli albums INI                       the albums of a CD player database
  quorvane-cli history                          the recorded runs, oldest first
  quorvane-cli undo [ID] [--no-journal]         undoes the latest recorded run (or ID)

transform reads one entry per line (with -z: NUL-separated); a line ending in "/"
is a directory. Entries are numbered in input order, files only. Its output is the
names' own bytes.

preview prints directory TAB old name TAB new name, one row a line, and names on
stderr every row whose new name is taken by an existing entry or by another row.
With -z each field ends with a NUL byte instead and holds the name's own bytes.

albums prints one line per section of INI (a cdplayer.ini): ID TAB artist TAB
title TAB track count, each "--" when the database does not say.

Names shown to a person (preview rows without -z, albums, messages) are escaped:
TAB, LF and CR as \t \n \r; other control characters and bytes that are not UTF-8
as \xNN per byte (ESC as \x1b); a backslash is doubled only before \ t n r x or
an escape, so "AC\DC" shows as it is.

Files and directories whose name begins with "." are left alone (neither renamed
nor entered); a file may still be named with --select or --order.

The special modes of the window and their options here: numbering (--layout, with
--order for an order of your own), removing numbers (--remove-numbers), deleting
or replacing a sequence (--delete, --replace/--with), 8.3 names (--short-names),
names from a list file (--names-from) and from the CD player database (--cdplayer
with --album).

RULES:
  --case keep|optimize|upper|lower   capitalisation (default optimize)
  --no-first-capital  --no-capital-after-space  --no-capital-after-dash
  --underscores       "_" becomes a space
  --expand-dashes     spaces round every "-"
  --dos               also remove + , ; = [ ]
  --accents           vowel + apostrophe <-> accented letter
  --compact-spaces    one space for every run of spaces
  --no-keep-ext-dot   deleting or replacing "." also takes the extension's dot
  --short-names       8.3 names
  --layout TEXT       numbering: append Filename, Numerazione, Separatore, Spazio
                      (their names in the --language file, when one is given) or a
                      literal text to the layout (repeatable)
  --digits N  --start N  --step N      numbering width (1-8, default 2), start, step
  --remove-numbers MODE  --leading-only   remove digit runs (MODE 0-3)
  --delete SEQ        delete a sequence
  --replace FROM --with TO             replace a sequence
  --names-from FILE   new names from the non-empty lines of FILE, one per file in
                      order (UTF-8 or Windows-1252); a FILE with no name, or with a
                      control character in a line used, is refused
  --cdplayer INI --album ID            new names from the track titles of album ID
                      of the CD player database INI, taken as --names-from takes
                      the lines of a file; an album whose track count is not an
                      integer, or that has no title, is refused
  --language FILE     take the texts of the language file FILE (.lng) instead of
                      the built-in Italian ones: the layout elements above, the
                      name given to a file that has only an extension, messages

SCOPE (preview and rename):
  --mask GLOB         files taken (default *.*)
  --no-dirs           do not rename subdirectories
  --recursive         descend into every subdirectory
  --dirs-only         rename directories only
  --select NAME       rename only this file of DIR (repeatable; a name, not a path)
  --order FILE        with --layout: number exactly the entries of DIR named by the
                      lines of FILE, in that order (directories too; no --select,
                      --mask, --recursive or --dirs-only)
  --attributes [RHSA] set these attributes (an empty value clears them)
  --no-keep-extension --names-from, --cdplayer: names replace the extension too
  --force             work in a volume root or system directory
  --no-journal        rename without a run journal: the run cannot be undone later

rename first writes its plan to a run journal in $XDG_STATE_HOME/quorvane/runs
(default ~/.local/state/quorvane/runs; the last 50 runs are kept) and renames
nothing when that cannot be done, unless --no-journal is given. history lists the
journals: ID, date, state (complete, stopped before its end, interrupted or
undone), entries renamed, kind and directory. undo renames back, last entry first
and never over an existing entry, every entry of the run that still bears a name
the run gave it, and names each entry it could not restore; an entry changed since
by someone else, or one the run never renamed, is left alone. undo --no-journal
journals nothing while it renames and records itself in the history when done.
undo after an interrupted undo finishes it; a run already undone is refused. The
undo's exit status is 0 when everything was restored, 1 otherwise, 2 for bad usage
or an unknown ID.

Ctrl-C (SIGINT) or SIGTERM stops rename after the entry being renamed; the entries
not reached keep their names. A second signal ends the program at once.

Exit status: 0 done; 1 some entries could not be renamed, read or given their
attributes, or preview found conflicts; 2 bad usage or refused input (a --select
that is not a file of DIR, an unusable --names-from FILE, a database that cannot
be read or an unusable album, an --order FILE naming something that is not an
entry of DIR or an entry twice, a --language FILE that cannot be read or parsed,
a dangerous DIR without --force); 130 stopped by
SIGINT; 143 stopped by SIGTERM.
)";
}

} // namespace quorvane::cli
