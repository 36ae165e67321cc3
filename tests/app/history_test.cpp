// The history dialog and the start-up check for an interrupted run, on real journals.
#include "support/failing_file_system.h"
#include "support/scoped_env.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "app/dialog_host.h"
#include "app/history/history_commands.h"
#include "app/history/thistory.h"
#include "engine/journal_writer.h"
#include "engine/rename_run.h"
#include "platform/name_codec.h"

#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

class HistoryFixture : public ::testing::Test
{
protected:
    /// A journaled run that gives every file of `dir` a capital first letter.
    void run(const std::string& dir)
    {
        engine::RenameOptions options;
        engine::RunState state;
        engine::RunScope scope;
        scope.directory = platform::decodeName(dir);
        engine::JournalWriter journal(runsDir);
        engine::RenameRun rename(fs, collator, options, state, scope, prompts, quiet);
        rename.setJournal(&journal);
        ASSERT_TRUE(rename.BitBtn1Click().ran);
    }

    TempDir tmp;
    TempDir stateHome;
    std::string runsDir = stateHome / "quorvane/runs";
    engine::JournalStore store { runsDir };
    FailingFileSystem fs;
    platform::Collator collator { "" };
    ScriptedPrompts prompts;
    engine::RunObserver quiet;
};

TEST_F(HistoryFixture, ListsRunsNewestFirstAndUndoesTheSelectedOne)
{
    tmp.file("old/a.txt");
    tmp.file("new/b.txt");
    run(tmp / "old");
    run(tmp / "new");

    app::THistory history(store, fs, prompts, quiet, nullptr);
    auto* grid = history.findChild<QTableWidget*>(QStringLiteral("HistoryGrid"));
    auto* undo = history.findChild<QPushButton*>(QStringLiteral("UndoButton"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(history.rowCount(), 2);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("rinomina"));
    EXPECT_EQ(grid->item(0, 2)->text(), QString::fromStdString(tmp / "new"));
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral("1"));
    EXPECT_EQ(grid->item(0, 4)->text(), QStringLiteral("completata"));

    int started = 0;
    int finished = 0;
    QObject::connect(&history, &app::THistory::undoStarting, [&] { ++started; });
    QObject::connect(&history, &app::THistory::undoFinished, [&] { ++finished; });
    grid->selectRow(1);
    ASSERT_TRUE(undo->isEnabled());
    undo->click();

    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(tmp.exists("old/a.txt"));
    EXPECT_TRUE(tmp.exists("new/B.txt")); // the other run is left alone
    EXPECT_TRUE(prompts.messages.empty());
    // The undo is a row of its own now; the undone run cannot be undone again.
    ASSERT_EQ(history.rowCount(), 3);
    EXPECT_EQ(grid->item(2, 4)->text(), QStringLiteral("annullata"));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("annullamento")) << "not one more run";
    grid->selectRow(2);
    EXPECT_FALSE(undo->isEnabled());
    grid->selectRow(0); // a finished undo
    EXPECT_FALSE(undo->isEnabled());
}

class InspectingHost final : public app::DialogHost
{
public:
    int rows = -1;
    int exec(QDialog& dialog) override
    {
        rows = static_cast<app::THistory&>(dialog).rowCount();
        return QDialog::Rejected;
    }
};

TEST_F(HistoryFixture, StartUpCheckAsksOnlyAboutAnInterruptedLatestRun)
{
    const ScopedEnv state("XDG_STATE_HOME", stateHome.path());
    tmp.file("a.txt");
    run(tmp.path());
    int hooks = 0;
    const auto hook = [&] { ++hooks; };
    EXPECT_FALSE(app::checkInterruptedRun(fs, prompts, quiet, hook, hook));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(hooks, 0);

    {
        // A run that died after its plan was written and its first rename was done.
        tmp.file("b.txt");
        engine::JournalWriter journal(runsDir);
        ASSERT_TRUE(journal
                        .begin(engine::JournalKind::Run, tmp.path(),
                            { engine::plannedEntry(tmp.path() + "/", "b.txt", "B.txt") })
                        .ok());
        std::filesystem::rename(tmp / "b.txt", tmp / "B.txt");
    }
    prompts.buttons.push_back(engine::Button::Yes);
    EXPECT_TRUE(app::checkInterruptedRun(fs, prompts, quiet, hook, hook));
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "OPERAZIONE_INTERROTTA");
    EXPECT_EQ(hooks, 2);
    EXPECT_TRUE(tmp.exists("b.txt"));
    EXPECT_TRUE(tmp.exists("A.txt")); // the finished run before it stays as it was

    InspectingHost host;
    app::showRunHistory(host, fs, prompts, quiet, nullptr, hook, hook);
    EXPECT_EQ(host.rows, 3);
    EXPECT_EQ(app::historyMenuCaption(), QStringLiteral("C&ronologia operazioni"));
}

} // namespace
} // namespace quorvane::test
