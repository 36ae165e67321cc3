// quorvane-cli history and undo: the recorded runs, and the undo of one of them.
#include "journal_commands.h"

#include "cli_prompts.h"
#include "terminal_text.h"

#include "engine/recorded_undo.h"
#include "engine/rename_retry.h"
#include "platform/locale_time.h"
#include "platform/name_codec.h"

#include <cstdio>
#include <ostream>

namespace quorvane::cli {

namespace {

const char* stateWord(engine::RecordedState state)
{
    switch (state) {
    case engine::RecordedState::Complete:
        return "complete";
    case engine::RecordedState::Stopped:
        return "stopped";
    case engine::RecordedState::Interrupted:
        return "interrupted";
    case engine::RecordedState::Undone:
        return "undone";
    }
    return "?";
}

const char* kindWord(engine::JournalKind kind)
{
    switch (kind) {
    case engine::JournalKind::Run:
        return "run";
    case engine::JournalKind::Undo:
        return "undo";
    case engine::JournalKind::OneFile:
        return "file";
    case engine::JournalKind::Directory:
        return "directory";
    }
    return "?";
}

std::string localTime(std::int64_t nanoseconds)
{
    const platform::LocalDateTime t = platform::localDateTime(nanoseconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
        t.hour, t.minute, t.second);
    return text;
}

std::string pathText(const std::string& bytes)
{
    return escapeForTerminal(platform::decodeName(bytes));
}

} // namespace

int runHistory(std::span<const std::string> args, const std::string& runsDirectory,
    std::ostream& out, std::ostream& errors)
{
    if (!args.empty()) {
        errors << "quorvane-cli: history takes no arguments\n";
        return 2;
    }
    const engine::JournalStore store(runsDirectory);
    for (const engine::RecordedRun& run : store.runs())
        out << run.id << "  " << localTime(run.created) << "  "
            << (run.running ? "running" : stateWord(run.state)) << "  " << run.renamed << "  "
            << kindWord(run.kind) << "  " << pathText(run.directory) << '\n';
    return 0;
}

int runUndo(std::span<const std::string> args, platform::FileSystem& fs,
    const std::string& runsDirectory, std::ostream& out, std::ostream& errors)
{
    std::string id;
    bool journaled = true;
    for (const std::string& arg : args) {
        if (arg == "--no-journal") {
            journaled = false;
        } else if (arg.starts_with('-') || !id.empty()) {
            errors << "quorvane-cli: usage: quorvane-cli undo [ID] [--no-journal]\n";
            return 2;
        } else {
            id = arg;
        }
    }
    const engine::JournalStore store(runsDirectory);
    CliPrompts prompts(errors, false);
    engine::RunObserver quiet;
    engine::RecordedUndo undo(fs, store, prompts, quiet);
    undo.setJournaled(journaled);
    const engine::RecordedUndoReport report = undo.undo(id);
    using Refusal = engine::RecordedUndoReport::Refusal;
    switch (report.refusal) {
    case Refusal::NoSuchRun:
        errors << "quorvane-cli: " << (id.empty() ? "no recorded run" : "no recorded run " + id)
               << " in " << pathText(runsDirectory) << '\n';
        return 2;
    case Refusal::AlreadyUndone:
        errors << "quorvane-cli: run " << report.undoneRun
               << " was already undone; nothing was renamed\n";
        return 1;
    case Refusal::Running:
        errors << "quorvane-cli: run " << report.undoneRun
               << " is still going on in another process; nothing was renamed\n";
        return 1;
    case Refusal::NoJournal:
        return 1; // the prompts said why
    case Refusal::None:
        break;
    }
    out << "undo of run " << report.undoneRun << ": " << report.restored << " restored, "
        << report.unchanged << " already had their names, " << report.notRestored.size()
        << " not restored";
    if (report.notRenamedByRun > 0)
        out << ", " << report.notRenamedByRun << " never renamed by the run";
    out << '\n';
    if (!report.recorded)
        errors << "quorvane-cli: the undo could not be recorded in " << pathText(runsDirectory)
               << ": the history still shows run " << report.undoneRun << " as not undone\n";
    for (const engine::NotRestored& entry : report.notRestored) {
        errors << "quorvane-cli: not restored: " << pathText(entry.path) << " (was "
               << pathText(entry.oldName) << "): ";
        if (entry.error == 0)
            errors << "changed since the run, left alone\n";
        else
            errors << "error " << entry.error << " ("
                   << engine::refusalText(platform::SysError { entry.error, {} }) << ")\n";
    }
    return report.notRestored.empty() ? 0 : 1;
}

} // namespace quorvane::cli
