// The question at start-up about a run that the program did not finish.
#include "interrupted_run.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/locale_time.h"
#include "platform/name_codec.h"

#include <cstdio>

namespace quorvane::engine {

namespace {

/// How many of the entries left behind the message names; the rest are counted.
constexpr std::size_t kNamedEntries = 20;

std::u32string dateText(std::int64_t nanoseconds)
{
    const platform::LocalDateTime t = platform::localDateTime(nanoseconds);
    char text[32];
    std::snprintf(
        text, sizeof text, "%02d/%02d/%04d %02d:%02d", t.day, t.month, t.year, t.hour, t.minute);
    return platform::decodeName(text);
}

} // namespace

std::optional<RecordedRun> interruptedLatestRun(const JournalStore& store)
{
    // Asked at every start-up: only the newest journal (and the run an undo reverses) is
    // read, never the whole history.
    std::optional<RecordedRun> latest = store.latest();
    if (!latest || latest->state != RecordedState::Interrupted || latest->running)
        return std::nullopt;
    if (latest->kind != JournalKind::Undo)
        return latest;
    return store.describe(latest->undoneRun);
}

std::optional<RecordedUndoReport> offerUndoOfInterruptedRun(
    platform::FileSystem& fs, const JournalStore& store, Prompts& prompts, RunObserver& observer)
{
    const std::optional<RecordedRun> run = interruptedLatestRun(store);
    if (!run)
        return std::nullopt;
    const std::u32string text
        = lang::formatText(lang::addedText(lang::added::OPERAZIONE_INTERROTTA),
            { dateText(run->created), static_cast<std::int64_t>(run->entries),
                platform::decodeName(run->directory) });
    if (prompts.ask({ "OPERAZIONE_INTERROTTA", Severity::Confirmation, text,
            { Button::Yes, Button::No }, Button::No })
        != Button::Yes)
        return std::nullopt;
    RecordedUndo undo(fs, store, prompts, observer);
    RecordedUndoReport report = undo.undo(run->id);
    tellUndoOutcome(prompts, report);
    return report;
}

void tellUndoOutcome(Prompts& prompts, const RecordedUndoReport& report)
{
    if (report.refusal == RecordedUndoReport::Refusal::AlreadyUndone)
        prompts.tell({ "GIA_ANNULLATA", Severity::Information, report.refused });
    if (report.refusal != RecordedUndoReport::Refusal::None || report.notRestored.empty())
        return;
    std::u32string lines;
    for (std::size_t i = 0; i < report.notRestored.size() && i < kNamedEntries; ++i)
        lines += platform::decodeName(report.notRestored[i].path) + U"\r\n";
    if (report.notRestored.size() > kNamedEntries)
        lines += U"...\r\n";
    prompts.tell({ "RIPRISTINO_INCOMPLETO", Severity::Warning,
        lang::formatText(lang::addedText(lang::added::RIPRISTINO_INCOMPLETO),
            { static_cast<std::int64_t>(report.notRestored.size()), lines }) });
}

} // namespace quorvane::engine
