// A rename run over a real temporary directory, with scripted answers and recorded events.
#pragma once

#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "engine/rename_run.h"
#include "engine/undo_run.h"
#include "platform/collator.h"
#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvane::test {

/// Records the events of a run or an undo.
class RecordingObserver final : public engine::RunObserver
{
public:
    std::vector<std::string> calls;
    int lastProgress = 0;

    void runStarted() override { calls.emplace_back("runStarted"); }
    void entryRenamed(std::string_view, std::string_view, std::string_view) override
    {
        calls.emplace_back("renamed");
    }
    void entryRefused(
        const std::u32string&, const std::u32string&, const platform::SysError&) override
    {
        calls.emplace_back("refused");
    }
    void entryGivenUp(const engine::GivenUpRename&) override { calls.emplace_back("givenUp"); }
    void directoryUnreadable(const platform::SysError&) override
    {
        calls.emplace_back("unreadable");
    }
    void progress(int processed) override { lastProgress = processed; }
    void runFinished(const engine::RunSummary&) override { calls.emplace_back("runFinished"); }
};

inline std::string bytes(const std::u32string& text)
{
    return platform::encodeName(text);
}
inline std::u32string text(const std::string& utf8)
{
    return platform::decodeName(utf8);
}

class RunFixture : public ::testing::Test
{
protected:
    RunFixture() { scope.directory = text(tmp.path()); }

    engine::RunSummary click()
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, observer);
        return run.BitBtn1Click();
    }
    std::vector<std::size_t> undo()
    {
        engine::UndoRun run(fs, state, prompts, observer);
        return run.UNDO();
    }
    void preview()
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, observer);
        run.Preview();
    }
    engine::EntryList listOf(const std::string& relative = {})
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, observer);
        std::u32string dir = text(relative.empty() ? tmp.path() : tmp / relative);
        return run.Make_List_Of_File(dir, true, true);
    }
    std::vector<std::string> namesIn(const std::string& relative = {}) const
    {
        return tmp.namesIn(relative);
    }
    /// The directory text of a path under the temporary directory, as the log holds it.
    std::u32string dirText(const std::string& relative = {}) const
    {
        return text((relative.empty() ? tmp.path() : tmp / relative) + "/");
    }

    TempDir tmp;
    FailingFileSystem fs;
    platform::Collator collator { "" };
    engine::RenameOptions options;
    engine::RunState state;
    engine::RunScope scope;
    ScriptedPrompts prompts;
    RecordingObserver observer;
};

} // namespace quorvane::test
