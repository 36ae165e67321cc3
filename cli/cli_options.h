// The command line of quorvane-cli, parsed into the engine's options, run state and scope.
#pragma once

#include "engine/rename_options.h"
#include "engine/run_scope.h"
#include "engine/run_state.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvane::cli {

enum class CliMode { Help, Transform, Preview, Rename, Albums };

/// Everything one invocation asks for.
struct CliCommand
{
    CliMode mode = CliMode::Help;
    std::string directory; ///< DIR as given (bytes)
    engine::RenameOptions options;
    engine::RunState state;
    /// --layout: the words as given; each names its element in the language in force when
    /// the command runs (runCommand puts them into state.NumLayout), any other is a literal
    std::vector<std::u32string> layoutWords;
    engine::RunScope scope;
    bool force = false; ///< answer Ignore to the dangerous-directory warning
    bool noJournal = false; ///< rename without writing the run journal
    bool nulSeparated = false; ///< transform: records end with NUL instead of LF
    bool keepExtension = true; ///< --names-from: new names keep the file's extension
    std::optional<std::string> namesFrom; ///< path of the list file
    /// --cdplayer: path of the CD player database (for albums: the database listed)
    std::optional<std::string> cdPlayer;
    std::optional<std::string> album; ///< --album: the section whose track titles are the names
    std::optional<std::string> orderFrom; ///< --order: path of the list of entries to number
    /// --language: a language file whose texts the rules use instead of the built-in ones
    std::optional<std::string> language;
};

/// A parsed command, or the one-line error that makes the program exit with status 2.
struct ParseResult
{
    std::optional<CliCommand> command;
    std::string error;
};

/// Parses the arguments after the program name.
[[nodiscard]] ParseResult parseCommandLine(std::span<const std::string> args);

/// The usage text printed by --help.
[[nodiscard]] const char* usageText();

} // namespace quorvane::cli
