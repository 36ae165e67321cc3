// A rename run over a real temporary directory, with scripted answers and recorded hooks.
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

/// Records what the run did to the window.
class RecordingHooks final : public engine::RunHooks
{
public:
    std::vector<std::string> calls;
    std::u32string title;
    std::u32string buttonCaption;
    bool buttonEnabled = true;

    void monitorOff() override { calls.emplace_back("monitorOff"); }
    void monitorOn() override { calls.emplace_back("monitorOn"); }
    void setRenameButton(bool enabled, const std::u32string& caption) override
    {
        buttonEnabled = enabled;
        buttonCaption = caption;
        calls.emplace_back(enabled ? "buttonOn" : "buttonOff");
    }
    void clearSelection() override { calls.emplace_back("clearSelection"); }
    void refreshLists() override { calls.emplace_back("refreshLists"); }
    void setTitle(const std::u32string& t) override { title = t; }
    void setUndoEnabled(bool enabled) override
    {
        calls.emplace_back(enabled ? "enableUndo" : "disableUndo");
    }
    void refreshFileList() override { calls.emplace_back("refreshFileList"); }
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

    engine::RunReport click()
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, hooks);
        return run.BitBtn1Click();
    }
    std::vector<std::size_t> undo()
    {
        engine::UndoRun run(fs, state, prompts, hooks);
        return run.UNDO();
    }
    void preview()
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, hooks);
        run.Preview();
    }
    engine::EntryList listOf(const std::string& relative = {})
    {
        engine::RenameRun run(fs, collator, options, state, scope, prompts, hooks);
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
    RecordingHooks hooks;
};

} // namespace quorvane::test
