// What a run must refuse, stop at or report honestly: selections outside the directory,
// dot-files, refusals skipped or stopped at, counts and attributes that did not happen.
#include "rules_test_support.h"
#include "run_fixture.h"

#include "engine/rename_retry.h"

#include <cerrno>

namespace quorvane::test {

namespace {

using Action = engine::RetryAnswer::Action;

/// Stops the run once a given number of entries went by, as a signal would.
class StoppingObserver final : public engine::RunObserver
{
public:
    int stopAfter = 0;
    int progressCalls = 0;
    void progress(int processed) override
    {
        ++progressCalls;
        m_processed = processed;
    }
    bool stopRequested() override { return m_processed >= stopAfter; }

private:
    int m_processed = 0;
};

} // namespace

TEST_F(RunFixture, SelectionMustNameFilesOfTheRunsDirectory)
{
    tmp.file("d/a.txt");
    tmp.file("outside/victim.txt");
    tmp.dir("d/sub");
    scope.directory = text(tmp / "d");
    for (const std::u32string bad :
        { U"../outside/victim.txt", U"..", U"sub", U"missing.txt", U"a.txt/.." }) {
        SCOPED_TRACE(bytes(bad));
        scope.selection = { U"a.txt", bad };
        prompts.messages.clear();

        const auto report = click();
        EXPECT_FALSE(report.refused.empty());
        ASSERT_EQ(prompts.messages.size(), 1U);
        EXPECT_EQ(prompts.messages[0].id, "SELEZIONE_NON_VALIDA");

        // A preview refuses the same selection and lists nothing.
        preview();
        EXPECT_TRUE(state.previewRows.empty());
    }
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_TRUE(tmp.exists("outside/victim.txt"));
    EXPECT_TRUE(tmp.exists("d/sub"));
}

TEST_F(RunFixture, DotFilesAreLeftAloneUnlessSelected)
{
    tmp.file(".gitignore");
    tmp.file(".hidden_cover.jpg");
    tmp.file("sub/.env");
    tmp.file("plain.txt");
    scope.recursive = true;
    options.Rinominainformato831 = true;

    click();
    EXPECT_EQ(namesIn(),
        (std::vector<std::string> { ".gitignore", ".hidden_cover.jpg", "Plain.txt", "Sub" }));
    EXPECT_EQ(namesIn("Sub"), (std::vector<std::string> { ".env" }));

    // An explicit selection is the user naming the file: it is renamed.
    options.Rinominainformato831 = false;
    scope.recursive = false;
    scope.selection = { U".gitignore", U"Plain.txt" };
    click();
    EXPECT_TRUE(tmp.exists(".Gitignore"));
}

TEST_F(RunFixture, TitleCountsOnlyRenamedEntriesAndNamesTheGivenUp)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    tmp.file("c.txt");
    fs.renameError = [](int, const std::string& from, const std::string&) {
        return from.ends_with("c.txt") ? 0 : EACCES;
    };

    const auto report = click(); // every box is cancelled

    EXPECT_EQ(report.renamed, 1);
    EXPECT_EQ(report.givenUp.size(), 2U);
    const std::u32string title = engine::runTitle(report);
    EXPECT_NE(title.find(U"Ultima operazione: 1 files rinominati"), std::u32string::npos)
        << bytes(title);
    EXPECT_TRUE(title.ends_with(U", 2 non rinominati per errore")) << bytes(title);
    // The box says what really went wrong.
    ASSERT_FALSE(prompts.requests.empty());
    EXPECT_NE(prompts.requests[0].caption.find(text(std::to_string(EACCES))), std::u32string::npos);
    EXPECT_EQ(prompts.requests[0].caption.find(U"in uso"), std::u32string::npos);
}

TEST_F(RunFixture, SkipAllAnswersEveryLaterRefusalAndStopEndsTheRun)
{
    for (const char* name : { "a.txt", "b.txt", "c.txt", "d.txt" })
        tmp.file(name);
    fs.renameError = [](int, const std::string&, const std::string&) { return EEXIST; };

    prompts.retries.push_back({ Action::SkipAll, {} });
    auto report = click();
    EXPECT_EQ(prompts.requests.size(), 1U); // one box for four refusals
    EXPECT_EQ(report.givenUp.size(), 4U);
    EXPECT_FALSE(report.stopped);

    prompts.requests.clear();
    fs.renameError = [](int, const std::string& from, const std::string&) {
        return from.ends_with("b.txt") ? EEXIST : 0;
    };
    prompts.retries.push_back({ Action::Stop, {} });
    report = click();
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.renamed, 1);
    EXPECT_EQ(report.unfinished, (std::vector<std::u32string> { dirText() }));
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "b.txt", "c.txt", "d.txt" }));
    EXPECT_TRUE(engine::runTitle(report).ends_with(U", operazione interrotta"));
}

TEST_F(RunFixture, StopRequestEndsARecursiveRunBetweenEntries)
{
    tmp.file("one/a.txt");
    tmp.file("one/b.txt");
    tmp.file("two/c.txt");
    scope.recursive = true;
    StoppingObserver stopping;
    stopping.stopAfter = 1;
    engine::RenameRun run(fs, collator, options, state, scope, prompts, stopping);

    const auto report = run.BitBtn1Click();

    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.renamed, 1);
    EXPECT_EQ(report.unfinished, (std::vector<std::u32string> { dirText("one"), dirText() }));
    EXPECT_EQ(namesIn("one"), (std::vector<std::string> { "A.txt", "b.txt" }));
    EXPECT_TRUE(tmp.exists("two/c.txt"));
    // What was done can be undone.
    EXPECT_EQ(state.undo.size(), 1U);
}

TEST_F(RunFixture, AttributesThatCouldNotBeSetAreReportedOnce)
{
    tmp.file("target.txt");
    std::filesystem::create_symlink(tmp / "target.txt", tmp / "link");
    tmp.file("plain.txt");
    scope.setAttributes = true;
    scope.hidden = true;

    const auto report = click();

    // A symbolic link carries no attributes of its own; the file beside it does.
    ASSERT_EQ(report.attributesKept.size(), 1U);
    EXPECT_EQ(report.attributesKept[0].path, text(tmp / "Link"));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "ATTRIBUTI_NON_IMPOSTATI");
    EXPECT_NE(prompts.messages[0].text.find(U"1 elementi"), std::u32string::npos);
}

TEST_F(RunFixture, RiskyQuestionsDefaultToTheAnswerThatChangesNothing)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    scope.selection = { U"a.txt" };
    prompts.buttons.push_back(engine::Button::Cancel);

    const auto report = click();
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].defaultButton, engine::Button::Ok);
    EXPECT_TRUE(report.aborted);
    EXPECT_EQ(fs.renameCalls, 0);

    fs.dangerous.push_back(tmp.path());
    prompts.questions.clear();
    scope.selection.clear();
    prompts.buttons.push_back(engine::Button::Abort);
    click();
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].defaultButton, engine::Button::Abort);
    EXPECT_EQ(fs.renameCalls, 0);
}

TEST_F(RunFixture, PreviewNeitherCountsIntoTheRunNorTouchesTheButton)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    StoppingObserver stopping;
    stopping.stopAfter = 1000;
    engine::RenameRun run(fs, collator, options, state, scope, prompts, stopping);
    run.Preview();
    run.Preview();
    EXPECT_EQ(state.RenamedCount, 2);
    EXPECT_EQ(stopping.progressCalls, 0);
}

TEST_F(RunFixture, NoNameThatLeavesItsDirectoryOrIsCutShortReachesTheSystem)
{
    // A language's text for nameless names is put in front after the forbidden characters
    // are gone, so it reaches the new name whole.
    tmp.file("d/[].mp3", "song");
    scope.directory = text(tmp / "d");
    options.dosnames1 = true;
    options.ComboBox1 = engine::kCaseKeep;
    const std::u32string absolute = text(tmp / "stolen");
    for (const std::u32string& nameless :
        { std::u32string(U"../evil"), absolute, std::u32string(U"a\0b", 3) }) {
        SCOPED_TRACE(bytes(nameless));
        const engine::test::ConstantTextOverride senzaNome("SENZA_NOME", nameless);
        prompts.requests.clear();

        const auto report = click();
        ASSERT_EQ(report.givenUp.size(), 1U);
        EXPECT_TRUE(engine::isNotAnEntryName(report.givenUp[0].error));
        // The box names the reason, not a file in use.
        ASSERT_EQ(prompts.requests.size(), 1U);
        EXPECT_EQ(prompts.requests[0].caption, engine::retryCaption(report.givenUp[0].error));
        EXPECT_NE(prompts.requests[0].caption.find(U"\"/\""), std::u32string::npos);
    }
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_EQ(namesIn("d"), (std::vector<std::string> { "[].mp3" }));
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "d" }));

    // An undo log holding such a name (".." or "/" in either name) moves nothing either.
    state.undo = engine::UndoLog {};
    state.undo.append(dirText("d"), U"../victim.mp3", U"[].mp3");
    state.undo.append(dirText("d"), U"back.mp3", U"../d/[].mp3");
    state.undo.append(dirText("d"), U"..", U"[].mp3");
    EXPECT_EQ(undo(), (std::vector<std::size_t> { 2, 1, 0 }));
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_EQ(namesIn("d"), (std::vector<std::string> { "[].mp3" }));
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "d" }));
}

} // namespace quorvane::test
