// The three commands of quorvane-cli over the engine.
#include "cli_commands.h"

#include "cli_prompts.h"
#include "platform/stop_signal.h"
#include "preview_report.h"
#include "terminal_text.h"

#include "engine/cd_player_db.h"
#include "engine/journal_writer.h"
#include "engine/list_file.h"
#include "engine/list_file_reader.h"
#include "engine/numbering_layout.h"
#include "engine/rename_retry.h"
#include "engine/rename_run.h"
#include "engine/transform_name.h"
#include "platform/collator.h"
#include "platform/name_codec.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <unordered_set>

namespace quorvane::cli {

namespace {

/// SIGINT or SIGTERM stops the run before its next entry.
class SignalStop final : public engine::RunObserver
{
public:
    [[nodiscard]] bool stopRequested() override { return platform::receivedStopSignal() != 0; }
};

/// A list without a name would rename by the other rules alone: a script is told instead.
constexpr std::string_view kNoNames = "it holds no name";

/// The first `count` names of the list file at `path`; nullopt (the reason told) when the
/// file cannot be used or holds no name.
std::optional<std::vector<std::u32string>> readNamesFile(const platform::FileSystem& fs,
    const std::string& path, std::size_t count, std::ostream& errors,
    engine::ListKind kind = engine::ListKind::NewNames)
{
    engine::ListFileNames read = engine::readListFile(fs, path, count, kind);
    if (read.refusal.empty() && read.names.empty())
        read.refusal = kNoNames;
    if (!read.refusal.empty()) {
        errors << "quorvane-cli: " << escapeForTerminal(path)
               << " is not a usable list of names: " << escapeForTerminal(read.refusal) << '\n';
        return std::nullopt;
    }
    return std::move(read.names);
}

/// The CD player database at `path`; nullopt (the reason told) when it cannot be read.
std::optional<engine::IniFile> readDatabase(const std::string& path, std::ostream& errors)
{
    engine::IniFileRead read = engine::readIniFile(platform::decodeName(path));
    if (!read.error.empty()) {
        errors << "quorvane-cli: cannot read " << escapeForTerminal(path) << ": " << read.error
               << '\n';
        return std::nullopt;
    }
    return std::move(read.file);
}

/// The first `count` track titles of --album, read as the names of a list file.
std::optional<std::vector<std::u32string>> readAlbumTitles(
    const CliCommand& command, std::size_t count, std::ostream& errors)
{
    const std::string& path = *command.cdPlayer;
    const std::optional<engine::IniFile> ini = readDatabase(path, errors);
    if (!ini)
        return std::nullopt;
    const std::u32string id = platform::decodeName(*command.album);
    const std::optional<std::size_t> section = ini->findSection(id);
    if (!section) {
        errors << "quorvane-cli: " << escapeForTerminal(path) << " has no album "
               << escapeForTerminal(id) << '\n';
        return std::nullopt;
    }
    const std::string album = "album " + escapeForTerminal(ini->sectionName(*section)) + " of "
        + escapeForTerminal(path);
    const engine::CdTracks tracks = engine::cdTrackTitles(*ini, *section);
    if (!tracks.error.empty()) {
        errors << "quorvane-cli: " << album << ": " << escapeForTerminal(tracks.error) << '\n';
        return std::nullopt;
    }
    engine::ListFileNames read = engine::cdTrackListNames(tracks.titles, count);
    // A missing title keeps its track's place; an album without any title names nothing.
    if (read.refusal.empty()
        && std::ranges::all_of(read.names, [](const std::u32string& name) { return name.empty(); }))
        read.refusal = kNoNames;
    if (!read.refusal.empty()) {
        errors << "quorvane-cli: " << album << " is not a usable list of names: " << read.refusal
               << '\n';
        return std::nullopt;
    }
    for (std::size_t track = 0; track < read.names.size(); ++track) {
        if (read.names[track].empty())
            errors << "quorvane-cli: " << album << " has no title for track " << track + 1 << '\n';
    }
    return std::move(read.names);
}

/// The first `count` names of the run's list: --names-from or the titles of --album.
std::optional<std::vector<std::u32string>> readListOfNames(const platform::FileSystem& fs,
    const CliCommand& command, std::size_t count, std::ostream& errors)
{
    if (command.cdPlayer)
        return readAlbumTitles(command, count, errors);
    return readNamesFile(fs, *command.namesFrom, count, errors);
}

/// albums: one line per album of the database, ID TAB artist TAB title TAB numtracks.
int albums(const CliCommand& command, std::ostream& out, std::ostream& errors)
{
    const std::optional<engine::IniFile> ini = readDatabase(*command.cdPlayer, errors);
    if (!ini)
        return 2;
    for (const engine::CdAlbum& album : engine::cdAlbums(*ini))
        out << escapeForTerminal(album.id) << '\t' << escapeForTerminal(album.artist) << '\t'
            << escapeForTerminal(album.title) << '\t' << escapeForTerminal(album.numtracks) << '\n';
    return 0;
}

std::vector<std::string> splitRecords(const std::string& input, char separator)
{
    std::vector<std::string> records;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find(separator, start);
        if (end == std::string::npos)
            end = input.size();
        records.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    return records;
}

int transform(const platform::FileSystem& fs, CliCommand& command, std::istream& in,
    std::ostream& out, std::ostream& errors)
{
    const std::string input { std::istreambuf_iterator<char>(in), {} };
    const char separator = command.nulSeparated ? '\0' : '\n';
    std::vector<std::string> records = splitRecords(input, separator);
    if (command.namesFrom || command.cdPlayer) {
        // Each record takes the name of its own position, directories included.
        auto names = readListOfNames(fs, command, records.size(), errors);
        if (!names)
            return 2;
        // The record's extension is kept as a run keeps a file's.
        for (std::size_t i = 0; i < names->size() && i < records.size(); ++i) {
            std::string_view record = records[i];
            if (record.ends_with('/'))
                record.remove_suffix(1);
            if (!(*names)[i].empty())
                (*names)[i] = engine::withSourceExtension(
                    std::move((*names)[i]), platform::decodeName(record), command.keepExtension);
        }
        command.state.TargetNames = std::move(*names);
    }
    std::string output;
    std::int64_t counter = 1;
    std::size_t position = 0;
    try {
        for (std::string& record : records) {
            const bool isDir = record.ends_with('/');
            if (isDir)
                record.pop_back();
            const std::u32string entry
                = platform::decodeName(record) + (isDir ? engine::kDirKind : engine::kFileKind);
            output += platform::encodeName(
                engine::TransformName(entry, position++, counter, command.options, command.state));
            output += separator;
        }
    } catch (const engine::RunError& e) {
        errors << "quorvane-cli: " << escapeForTerminal(std::string_view(e.what())) << '\n';
        return 1;
    }
    out << output;
    return 0;
}

/// --names-from or --album: the directory's files in run order, paired with the list's names.
bool prepareNamesFrom(const platform::FileSystem& fs, CliCommand& command, engine::RenameRun& run,
    std::ostream& errors)
{
    std::u32string directory = command.scope.directory;
    command.state.OrderList = run.Make_List_Of_File(directory, true, true);
    const std::size_t files = command.state.OrderList.size();
    if (files == 0) {
        errors << "quorvane-cli: " << escapeForTerminal(command.directory)
               << " holds no file to name (mask " << escapeForTerminal(command.scope.mask) << ")\n";
        return false;
    }
    // Lines beyond the last file would be ignored: they are not even read.
    auto names = readListOfNames(fs, command, files, errors);
    if (!names)
        return false;
    // A file without a name keeps its own: a script is told how many did.
    const auto named = static_cast<std::size_t>(
        std::ranges::count_if(*names, [](const std::u32string& name) { return !name.empty(); }));
    if (named < files)
        errors << "quorvane-cli: " << files - named << " of " << files
               << " files have no name in the list: the other rules alone apply to them\n";
    command.state.TargetNames
        = engine::alignTargetNames(command.state.OrderList, *names, command.keepExtension);
    return true;
}

/// --order: the entries of the directory named by the file, in its order, for numbering.
bool prepareOrder(const platform::FileSystem& fs, CliCommand& command, std::ostream& errors)
{
    const auto listing = fs.listDirectory(command.directory, platform::Detail::KindOnly);
    if (!listing.ok()) {
        errors << "quorvane-cli: cannot read " << escapeForTerminal(command.directory) << ": "
               << listing.error().text() << '\n';
        return false;
    }
    std::unordered_set<std::string> entries;
    for (const platform::DirEntry& entry : listing.value())
        entries.insert(entry.name);
    // One name more than the directory has entries is enough to find a surplus: it must
    // repeat a name or be none.
    const std::string& file = *command.orderFrom;
    const auto names
        = readNamesFile(fs, file, entries.size() + 1, errors, engine::ListKind::Entries);
    if (!names)
        return false;
    std::unordered_set<std::u32string> seen;
    for (const std::u32string& name : *names) {
        std::string refusal;
        if (!entries.contains(platform::encodeName(name)))
            refusal = "is not an entry of " + escapeForTerminal(command.directory);
        else if (!seen.insert(name).second)
            refusal = "is listed twice";
        if (!refusal.empty()) {
            errors << "quorvane-cli: " << escapeForTerminal(file) << ": \""
                   << escapeForTerminal(name) << "\" " << refusal << '\n';
            return false;
        }
        // Every listed entry is numbered as a file, directories too.
        command.state.OrderList.push_back(name + engine::kFileKind);
    }
    return true;
}

int unreadableStatus(const engine::RunSummary& report)
{
    return report.unreadable.empty() && report.error.empty() ? 0 : 1;
}

int preview(CliCommand& command, engine::RenameRun& run, const platform::FileSystem& fs,
    std::ostream& out, std::ostream& errors)
{
    try {
        run.Preview();
    } catch (const engine::RunError& e) {
        errors << "quorvane-cli: " << escapeForTerminal(std::string_view(e.what())) << '\n';
        return 1;
    }
    // The refusal was told through the prompts; nothing was looked at.
    if (!run.summary().refused.empty())
        return 2;
    const engine::UndoLog& rows = command.state.previewRows;
    writePreviewRows(rows, command.nulSeparated, out);
    for (const auto& error : run.summary().unreadable)
        errors << "quorvane-cli: " << escapeForTerminal(error.describe()) << '\n';
    // A preview that shows a rename the run would refuse has not found a clean plan.
    if (reportConflicts(rows, fs, errors) > 0)
        return 1;
    return unreadableStatus(run.summary());
}

/// After the summary line: the signal that stopped the run and the directories it left.
int reportStop(int signal, const engine::RunSummary& report, std::ostream& errors)
{
    if (report.unfinished.empty())
        errors << "quorvane-cli: stopped by " << platform::stopSignalName(signal)
               << " after the last entry\n";
    for (const std::u32string& directory : report.unfinished)
        errors << "quorvane-cli: stopped by " << platform::stopSignalName(signal)
               << "; not finished: " << escapeForTerminal(directory) << '\n';
    return platform::stoppedStatus(signal);
}

int rename(engine::RenameRun& run, std::ostream& out, std::ostream& errors)
{
    const engine::RunSummary report = run.BitBtn1Click();
    if (report.aborted || !report.refused.empty())
        return 2;
    out << terminalLine(engine::captionDone(report)) << '\n';
    // The summary line counts what was renamed; what was not follows it in plain words.
    if (!report.givenUp.empty())
        errors << "quorvane-cli: " << report.givenUp.size() << " of " << report.processed
               << " entries could not be renamed:\n";
    for (const engine::GivenUpRename& failure : report.givenUp)
        errors << "quorvane-cli: cannot rename "
               << escapeForTerminal(failure.directory + failure.oldName) << " to "
               << escapeForTerminal(failure.newName) << ": error " << failure.error.code << " ("
               << engine::refusalText(failure.error) << ")\n";
    for (const engine::AttributeFailure& failure : report.attributesKept)
        errors << "quorvane-cli: attributes not set on " << escapeForTerminal(failure.path) << ": "
               << failure.error.text() << '\n';
    // A signal that came after the last entry still ends the command as stopped: whoever
    // sent it learns from the status that it arrived.
    if (const int signal = platform::receivedStopSignal(); signal != 0)
        return reportStop(signal, report, errors);
    if (!report.givenUp.empty() || !report.attributesKept.empty())
        return 1;
    return unreadableStatus(report);
}

} // namespace

int runCommand(CliCommand& command, platform::FileSystem& fs, std::istream& in, std::ostream& out,
    std::ostream& errors)
{
    // Read now, not while parsing: a --language file is put into force after the command
    // line, and "Numbering" names the number only under English.
    command.state.NumLayout.clear();
    for (const std::u32string& word : command.layoutWords)
        command.state.NumLayout.push_back(engine::layoutElementNamed(word));
    if (command.mode == CliMode::Transform)
        return transform(fs, command, in, out, errors);
    if (command.mode == CliMode::Albums)
        return albums(command, out, errors);

    const auto directory = fs.status(command.directory, platform::Links::Follow);
    if (!directory.ok() || directory.value().kind != platform::EntryKind::Directory) {
        errors << "quorvane-cli: " << escapeForTerminal(command.directory) << ": not a directory\n";
        return 2;
    }
    const platform::Collator collator;
    CliPrompts prompts(errors, command.force);
    SignalStop observer;
    engine::RenameRun run(
        fs, collator, command.options, command.state, command.scope, prompts, observer);
    engine::JournalWriter journal(engine::defaultRunsDirectory());
    if (command.mode == CliMode::Rename && !command.noJournal)
        run.setJournal(&journal);
    if ((command.namesFrom || command.cdPlayer) && !prepareNamesFrom(fs, command, run, errors))
        return 2;
    if (command.orderFrom && !prepareOrder(fs, command, errors))
        return 2;
    if (command.mode == CliMode::Preview)
        return preview(command, run, fs, out, errors);
    return rename(run, out, errors);
}

} // namespace quorvane::cli
