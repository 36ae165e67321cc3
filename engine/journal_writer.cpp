// Writes one run's journal: the plan made durable before the first rename, then its
// progress in batches.
#include "journal_writer.h"

#include "journal_store.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/current_directory.h"
#include "platform/name_codec.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

namespace quorvane::engine {

namespace {

/// Progress is written when this much is buffered: a few writes for a large run, and
/// little lost to a crash (the disk, not the journal, decides what is undone).
constexpr std::size_t kBatchBytes = std::size_t { 64 } * 1024;

/// Entries done one after the other are told in one record; it is written once it covers
/// this many, so that progress still reaches the file as often as single records would.
constexpr std::size_t kDoneRunLength = 4096;

/// "20250301-142233-123": UTC time to the millisecond, so that ids sort as runs happened.
std::string timeId()
{
    using namespace std::chrono;
    const auto now = floor<milliseconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date { day };
    const hh_mm_ss time { now - day };
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02ld%02ld%02ld-%03ld", int { date.year() },
        unsigned { date.month() }, unsigned { date.day() }, static_cast<long>(time.hours().count()),
        static_cast<long>(time.minutes().count()), static_cast<long>(time.seconds().count()),
        static_cast<long>(time.subseconds().count()));
    return text;
}

std::int64_t nanosecondsNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::string defaultRunsDirectory()
{
    const std::string state = platform::stateHome();
    return state.empty() ? std::string {} : state + "/quorvane/runs";
}

bool proceedWithoutJournal(Prompts& prompts, const platform::SysError& error)
{
    const Button answer = prompts.ask({ "REGISTRO_NON_SCRIVIBILE", Severity::Warning,
        lang::formatText(lang::addedText(lang::added::REGISTRO_NON_SCRIVIBILE),
            { platform::decodeName(error.describe()) }),
        { Button::Yes, Button::No }, Button::No });
    return answer == Button::Yes;
}

JournalEntry plannedEntry(std::string directory, std::string oldName, std::string newName)
{
    JournalEntry entry;
    entry.directory = std::move(directory);
    entry.oldName = std::move(oldName);
    entry.newName = std::move(newName);
    return entry;
}

JournalWriter::JournalWriter(std::string runsDirectory)
    : m_directory(std::move(runsDirectory))
{ }

JournalWriter::~JournalWriter()
{
    awaitSettling();
    if (active()) {
        flush();
    } else if (!m_begun && m_file.isOpen()) {
        m_file.close();
        (void)platform::removeJournalFile(m_path);
    }
}

void JournalWriter::prepare()
{
    if (m_begun || m_file.isOpen() || !create().ok())
        return;
    try {
        // The file is touched by nobody else until awaitSettling() has joined.
        m_settling = std::thread([this] { (void)m_file.sync(); });
    } catch (const std::system_error&) {
        // Without a thread the plan's own sync simply waits as it always did.
    }
}

void JournalWriter::awaitSettling()
{
    if (m_settling.joinable())
        m_settling.join();
}

platform::Status JournalWriter::create()
{
    if (m_directory.empty())
        return platform::SysError { ENOENT, "no home directory for the run journal" };
    if (platform::Status made = platform::makeDirectories(m_directory); !made.ok())
        return made;
    const std::string base = timeId();
    for (int attempt = 1;; ++attempt) {
        m_id = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        m_path = m_directory + "/" + m_id + std::string(kJournalSuffix);
        platform::Status created = m_file.create(m_path);
        if (created.ok() || created.error().code != EEXIST || attempt == 100)
            return created;
    }
}

platform::Status JournalWriter::begin(JournalKind kind, std::string_view directory,
    std::vector<JournalEntry> entries, std::string_view undoneRun)
{
    std::size_t next = 0;
    return beginFrom(
        kind, directory,
        [&](JournalEntry& entry) {
            if (next == entries.size())
                return false;
            entry = std::move(entries[next++]);
            return true;
        },
        undoneRun);
}

platform::Status JournalWriter::beginFrom(JournalKind kind, std::string_view directory,
    const EntrySource& next, std::string_view undoneRun)
{
    awaitSettling();
    if (!m_file.isOpen()) {
        if (platform::Status created = create(); !created.ok())
            return created;
    }
    // Recovery may run from anywhere: every path is recorded absolute.
    const std::string workingDirectory = platform::currentDirectory();
    const auto absolute = [&](std::string_view path) {
        if (path.starts_with('/'))
            return std::string(path);
        return workingDirectory + (workingDirectory.ends_with('/') ? "" : "/") + std::string(path);
    };
    std::string bytes(kJournalMagic);
    JournalEncoder::header(bytes, kind, nanosecondsNow(), absolute(directory), undoneRun);
    JournalEncoder encoder;
    std::string lastDirectory;
    std::string lastAbsolute;
    bool stableNumbers = true;
    JournalEntry entry;
    platform::Status status;
    while (status.ok() && next(entry)) {
        if (entry.directory != lastDirectory) {
            lastDirectory = entry.directory;
            lastAbsolute = absolute(entry.directory);
            stableNumbers = platform::inodeNumbersStable(lastAbsolute);
        }
        entry.directory = lastAbsolute;
        if (!stableNumbers) {
            // A number from the listing, or one read now, may not be the entry's at the
            // undo: the entry is recorded by what it is instead, read here whatever the
            // caller knew.
            entry.identity = {};
            if (auto identity = platform::fileIdentity(entry.directory + entry.oldName);
                identity.ok())
                entry.identity = identity.value();
            entry.identity.stableNumbers = false;
        } else if (!entry.identity.known()) {
            // An entry that cannot be identified is recorded anyway: its rename will most
            // likely fail, and recovery never touches what it cannot identify.
            if (auto identity = platform::fileIdentity(entry.directory + entry.oldName);
                identity.ok())
                entry.identity = identity.value();
        }
        encoder.plannedEntry(bytes, entry);
        // Written in batches as they fill: the plan is synced as a whole below, and a
        // journal that breaks off before its start record is no plan at all.
        if (bytes.size() >= kBatchBytes) {
            status = m_file.append(bytes);
            bytes.clear();
        }
    }
    encoder.finishEntries(bytes);
    JournalEncoder::start(bytes);
    if (status.ok())
        status = m_file.append(bytes);
    if (status.ok())
        status = m_file.sync();
    if (status.ok())
        status = platform::syncDirectory(m_directory);
    if (!status.ok()) {
        m_file.close();
        (void)platform::removeJournalFile(m_path);
        return status;
    }
    m_begun = true;
    JournalStore(m_directory).prune(kKeptJournals);
    return {};
}

platform::Status JournalWriter::typed(std::size_t index, std::string_view name)
{
    endDoneRun();
    JournalEncoder::typed(m_pending, index, name);
    const std::string bytes = std::move(m_pending);
    m_pending.clear();
    platform::Status status = m_file.append(bytes);
    if (status.ok())
        status = m_file.sync();
    return status;
}

void JournalWriter::done(std::size_t index)
{
    if (m_doneCount != 0 && index == m_doneFirst + m_doneCount) {
        ++m_doneCount;
    } else {
        endDoneRun();
        m_doneFirst = index;
        m_doneCount = 1;
    }
    if (m_doneCount >= kDoneRunLength)
        flush();
}

void JournalWriter::refused(std::size_t index, int error)
{
    endDoneRun();
    JournalEncoder::refused(m_pending, index, error);
    flushIfFull();
}

void JournalWriter::givenUp(std::size_t index)
{
    endDoneRun();
    JournalEncoder::givenUp(m_pending, index);
    flushIfFull();
}

void JournalWriter::endDoneRun()
{
    if (m_doneCount == 0)
        return;
    if (m_doneCount == 1)
        JournalEncoder::done(m_pending, m_doneFirst);
    else
        JournalEncoder::doneRange(m_pending, m_doneFirst, m_doneCount);
    m_doneCount = 0;
}

void JournalWriter::close(std::size_t renamed, std::size_t failed)
{
    if (!active())
        return;
    endDoneRun();
    JournalEncoder::close(m_pending, renamed, failed);
    flush();
    // The closing record tells history the run ended; losing it to a power cut would only
    // make a finished run read as interrupted, which its undo handles the same way.
    (void)m_file.sync();
    m_file.close();
}

void JournalWriter::flushIfFull()
{
    if (m_pending.size() >= kBatchBytes)
        flush();
}

void JournalWriter::flush()
{
    endDoneRun();
    // Progress records only describe what the disk shows anyway: a failed write costs the
    // history some detail, never the undo, so the run goes on.
    (void)m_file.append(m_pending);
    m_pending.clear();
}

} // namespace quorvane::engine
