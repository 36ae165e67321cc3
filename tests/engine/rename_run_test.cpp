// The rename run on real directories: order, undo log, collisions, bytes, attributes.
#include "run_fixture.h"

#include "support/scoped_env.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <regex>

namespace quorvane::test {
namespace {

using engine::Button;

TEST_F(RunFixture, RecursiveRunRenamesDeepestFirstAndLogsOldDirectoryPaths)
{
    tmp.file("a b/x y.mp3", "song");
    scope.recursive = true;

    const auto report = click();

    EXPECT_FALSE(report.aborted);
    EXPECT_EQ(namesIn(), std::vector<std::string> { "A B" });
    EXPECT_EQ(tmp.read("A B/X Y.mp3"), "song");
    ASSERT_EQ(state.undo.size(), 2U);
    EXPECT_EQ(state.undo.directory(0), dirText("a b"));
    EXPECT_EQ(state.undo.oldName(0), U"x y.mp3");
    EXPECT_EQ(state.undo.newName(0), U"X Y.mp3");
    EXPECT_EQ(state.undo.directory(1), dirText());
    EXPECT_EQ(state.undo.oldName(1), U"a b");
    EXPECT_EQ(state.undo.newName(1), U"A B");
    EXPECT_EQ(state.RenamedCount, 2);
}

TEST_F(RunFixture, UnchangedNamesCountButAreNeitherRenamedNorLogged)
{
    tmp.file("Already.txt");
    tmp.file("song.mp3");

    click();

    EXPECT_EQ(namesIn(), (std::vector<std::string> { "Already.txt", "Song.mp3" }));
    EXPECT_EQ(state.RenamedCount, 2);
    ASSERT_EQ(state.undo.size(), 1U); // the case-only change is a real rename
    EXPECT_EQ(state.undo.oldName(0), U"song.mp3");
    EXPECT_EQ(fs.renameCalls, 1);
}

TEST_F(RunFixture, SummaryTitleEnablesUndoAndReturnsToIdle)
{
    tmp.file("a.txt");
    options.Rinominainformato831 = true;
    options.SostSeqCar1 = true;
    state.ReplaceFrom = U"x";
    state.ReplaceTo = U"y";
    state.NumCustomOrder = false;
    state.NumAfterList = true;

    const auto report = click();

    const std::regex summary("Quorvane 0\\.99 - Ultima operazione: 1 files rinominati in 0 minuti "
                             "e [0-9]+,[0-9]{3} secondi");
    const std::string title = bytes(engine::runTitle(report));
    EXPECT_TRUE(std::regex_match(title, summary)) << title;
    EXPECT_TRUE(report.ran);
    EXPECT_EQ(report.processed, 1);
    EXPECT_EQ(
        observer.calls, (std::vector<std::string> { "runStarted", "renamed", "runFinished" }));
    EXPECT_FALSE(options.Rinominainformato831);
    EXPECT_FALSE(options.SostSeqCar1);
    EXPECT_FALSE(state.NumAfterList);
}

TEST_F(RunFixture, CollisionKeepsBothFilesAndAsksForAnotherName)
{
    tmp.file("X.txt", "upper");
    tmp.file("x.TXT", "lower");
    options.ComboBox1 = engine::kCaseLower;
    prompts.inputs.emplace_back(U"x2.txt");

    const auto report = click();

    ASSERT_EQ(prompts.requests.size(), 1U);
    const auto& request = prompts.requests[0];
    // A taken name is named as such, not as a file in use.
    EXPECT_EQ(request.caption,
        U"Esiste già un elemento con questo nome (Errore " + text(std::to_string(EEXIST)) + U")");
    EXPECT_EQ(request.prompt,
        U"Rinomina file: x.TXT\r\n\r\nPremi OK per riprovare o Cancel per ignorare il file");
    EXPECT_EQ(request.text, U"x.txt");
    EXPECT_EQ(request.subject, U"x.TXT") << "a box with buttons of its own words its prompt";
    EXPECT_EQ(tmp.read("x.txt"), "upper");
    EXPECT_EQ(tmp.read("x2.txt"), "lower");
    EXPECT_TRUE(report.givenUp.empty());
    EXPECT_EQ(state.undo.size(), 2U);
}

TEST_F(RunFixture, GivingUpACollisionKeepsTheNameAndGivesNoAttributesToTheOtherFile)
{
    tmp.file("X.txt", "upper");
    tmp.file("x.TXT", "lower");
    options.ComboBox1 = engine::kCaseLower;
    scope.setAttributes = true;
    scope.readOnly = true; // read-only

    const auto report = click();

    ASSERT_EQ(report.givenUp.size(), 1U);
    EXPECT_EQ(report.givenUp[0].oldName, U"x.TXT");
    EXPECT_EQ(report.givenUp[0].error.code, EEXIST);
    EXPECT_EQ(tmp.read("x.txt"), "upper");
    EXPECT_EQ(tmp.read("x.TXT"), "lower");
    ASSERT_EQ(state.undo.size(), 1U);
    // Each file received the attributes once, under its own current name.
    EXPECT_EQ(fs.attributeCalls, (std::vector<std::string> { tmp / "x.txt", tmp / "x.TXT" }));
}

TEST_F(RunFixture, TypedNameWithSlashIsRefusedAndAskedAgain)
{
    tmp.file("X.txt", "upper");
    tmp.file("x.TXT", "lower");
    tmp.dir("sub");
    scope.renameDirectories = false;
    options.ComboBox1 = engine::kCaseLower;
    prompts.inputs.emplace_back(U"../escaped.txt");
    prompts.inputs.emplace_back(U"sub/moved.txt");
    prompts.inputs.emplace_back(U"kept.txt");

    click();

    ASSERT_EQ(prompts.requests.size(), 3U);
    EXPECT_EQ(prompts.requests[1].text, U"../escaped.txt"); // the typed text is offered again
    ASSERT_EQ(prompts.messages.size(), 2U);
    EXPECT_EQ(prompts.messages[0].text, U"Hai inserito caratteri non validi!");
    EXPECT_EQ(tmp.read("kept.txt"), "lower");
    EXPECT_FALSE(tmp.exists("sub/moved.txt"));
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::path(tmp.path()).parent_path() / "escaped.txt"));
    // The undo log holds the name the entry really got, not the one first planned.
    ASSERT_FALSE(state.undo.empty());
    EXPECT_EQ(state.undo.oldName(state.undo.size() - 1), U"x.TXT");
    EXPECT_EQ(state.undo.newName(state.undo.size() - 1), U"kept.txt");
}

TEST_F(RunFixture, CaseOnlyRenameIsDoneAndLogged)
{
    tmp.file("song.mp3", "data");
    scope.renameDirectories = false;
    click();
    EXPECT_EQ(namesIn(), std::vector<std::string> { "Song.mp3" });
    EXPECT_EQ(tmp.read("Song.mp3"), "data");
    ASSERT_EQ(state.undo.size(), 1U);
    EXPECT_EQ(state.undo.newName(0), U"Song.mp3");
}

TEST_F(RunFixture, NamesWithBytesThatAreNotUtf8SurviveByteForByte)
{
    const std::string latin1 = "caf\xE9 BAR.txt"; // é in Latin-1: not valid UTF-8
    const std::string broken = "\xFF\xFE name.dat";
    tmp.file(latin1, "one");
    tmp.file(broken, "two");
    options.ComboBox1 = engine::kCaseLower;

    click();

    EXPECT_EQ(tmp.read("caf\xE9 bar.txt"), "one");
    EXPECT_EQ(tmp.read(broken), "two"); // unchanged by the rules, untouched on disk
    ASSERT_EQ(state.undo.size(), 1U);
    EXPECT_EQ(bytes(state.undo.oldName(0)), latin1);
}

TEST_F(RunFixture, RetriesTransientRefusalsSilentlyButNotForever)
{
    tmp.file("a.txt");
    fs.renameError
        = [](int call, const std::string&, const std::string&) { return call <= 2 ? EBUSY : 0; };
    click();
    EXPECT_TRUE(prompts.requests.empty());
    EXPECT_TRUE(tmp.exists("A.txt"));

    tmp.file("b.txt");
    fs.renameCalls = 0;
    fs.renameError = [](int, const std::string&, const std::string&) { return EBUSY; };
    const auto report = click();
    ASSERT_EQ(prompts.requests.size(), 1U);
    EXPECT_EQ(fs.renameCalls, 6); // the first try and five silent ones, then the question
    ASSERT_EQ(report.givenUp.size(), 1U);
    EXPECT_TRUE(tmp.exists("b.txt"));
}

TEST_F(RunFixture, RefusedRenameIsAskedAtOnceAndCanBeRetried)
{
    tmp.file("a.txt");
    fs.renameError
        = [](int call, const std::string&, const std::string&) { return call == 1 ? EACCES : 0; };
    prompts.inputs.emplace_back(U"A.txt");
    click();
    EXPECT_EQ(prompts.requests.size(), 1U);
    EXPECT_TRUE(tmp.exists("A.txt"));
    EXPECT_EQ(state.undo.size(), 1U);
}

TEST_F(RunFixture, AttributesGoToTheRenamedEntryUnderItsNewName)
{
    tmp.file("a.txt");
    tmp.dir("d");
    scope.setAttributes = true;
    scope.readOnly = true;
    scope.hidden = true;

    click();

    struct stat st
    {
    };
    ASSERT_EQ(::stat((tmp / "A.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0U);
    ASSERT_EQ(::stat((tmp / "D").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0U) << "a read-only directory must stay writable";
    char value[32] = {};
    const ssize_t n = ::getxattr((tmp / "A.txt").c_str(), "user.DOSATTRIB", value, sizeof value);
    if (n < 0)
        GTEST_SKIP() << "no user extended attributes here";
    EXPECT_EQ(std::string(value, static_cast<std::size_t>(n)), "0x3");
}

TEST_F(RunFixture, DangerousDirectoryAbortLeavesDiskUntouchedAndNumberingArmed)
{
    tmp.file("a.txt");
    fs.dangerous.push_back(tmp.path());
    options.ComboBox1 = engine::kCaseKeep;
    options.NumerazioneFiles1 = true;
    state.NumLayout = { { engine::LayoutKind::Number, {} } };
    options.SostSeqCar1 = true;
    state.ReplaceFrom = U"a";
    state.ReplaceTo = U"b";
    prompts.buttons.push_back(Button::Abort);

    const auto report = click();

    EXPECT_TRUE(report.aborted);
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "NUMERAZIONE_PERICOLOSA");
    EXPECT_NE(prompts.questions[0].text.find(text(tmp.path())), std::u32string::npos);
    EXPECT_EQ(namesIn(), std::vector<std::string> { "a.txt" });
    EXPECT_TRUE(options.NumerazioneFiles1);
    EXPECT_FALSE(options.SostSeqCar1);
    EXPECT_FALSE(report.ran); // nothing for "Annulla" to undo

    prompts.buttons.push_back(Button::Ignore);
    click();
    EXPECT_EQ(namesIn(), std::vector<std::string> { "01.txt" });
    EXPECT_FALSE(options.NumerazioneFiles1);
    EXPECT_EQ(state.LastNumberedDir, text(tmp.path()));
}

TEST_F(RunFixture, TheTemporaryDirectoryItselfIsDangerousNotWhatLiesInside)
{
    // Other programs keep their working directories there, and the mask does not stop a run
    // from renaming directories. The temporary directory is one this test made, so a wrong
    // answer renames only what the test put there.
    tmp.file("a.txt");
    tmp.dir("other program");
    tmp.file("inside/b.txt");
    const ScopedEnv tempEnv("TMPDIR", tmp.path());
    prompts.buttons.push_back(Button::Abort);

    const auto report = click();

    EXPECT_TRUE(report.aborted);
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "NUMERAZIONE_PERICOLOSA");
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "inside", "other program" }));
    EXPECT_EQ(fs.renameCalls, 0);

    prompts.questions.clear();
    scope.directory = text(tmp / "inside");
    click();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(namesIn("inside"), std::vector<std::string> { "B.txt" });
}

TEST_F(RunFixture, OneSelectedFileAsksWhetherOnlyThatFileOrAll)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    scope.selection = { U"a.txt" };
    prompts.buttons.push_back(Button::Ok);
    click();
    ASSERT_EQ(prompts.questions.size(), 1U);
    EXPECT_EQ(prompts.questions[0].id, "UN_FILE_O_TUTTI");
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "b.txt" }));
    EXPECT_FALSE(scope.renameDirectories);

    scope.selection = { U"b.txt" };
    scope.renameDirectories = true;
    tmp.dir("sub");
    prompts.buttons.push_back(Button::All);
    click();
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "B.txt", "Sub" }));
    EXPECT_TRUE(scope.selection.empty()); // the window's list loses its selection
    EXPECT_TRUE(scope.renameDirectories);
}

TEST_F(RunFixture, SeveralSelectedFilesAreRenamedAloneWithoutAQuestion)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    tmp.file("c.txt");
    tmp.dir("sub");
    scope.selection = { U"c.txt", U"a.txt" };
    scope.recursive = true;
    scope.directoriesOnly = false;
    click();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "A.txt", "C.txt", "b.txt", "sub" }));
    EXPECT_FALSE(scope.renameDirectories);
    EXPECT_FALSE(scope.recursive);
    EXPECT_FALSE(scope.directoriesOnly);
    EXPECT_EQ(state.undo.oldName(0), U"c.txt"); // the list's order, not sorted
}

TEST_F(RunFixture, MissingTargetNameInterruptsTheRunButKeepsWhatWasDone)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    options.RinominadaFile1 = true;
    state.OrderList = { U"a.txtF", U"b.txtF" };
    state.TargetNames = { U"first.txt" };

    const auto report = click();

    EXPECT_FALSE(report.error.empty());
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "RUN_ERROR");
    EXPECT_TRUE(tmp.exists("First.txt"));
    EXPECT_TRUE(tmp.exists("b.txt"));
    EXPECT_EQ(state.undo.size(), 1U);
    EXPECT_TRUE(report.ran); // what was renamed can be undone
    EXPECT_FALSE(options.RinominadaFile1);
}

TEST_F(RunFixture, ListRenameGivesTheIthNameToTheIthEntry)
{
    tmp.file("a.mp3", "A");
    tmp.file("b.mp3", "B");
    options.RinominadaFile1 = true;
    scope.renameDirectories = false;
    state.OrderList = { U"b.mp3F", U"a.mp3F" };
    state.TargetNames = { U"the end.mp3", U"intro.mp3" };
    click();
    EXPECT_EQ(tmp.read("The End.mp3"), "B");
    EXPECT_EQ(tmp.read("Intro.mp3"), "A");
}

TEST_F(RunFixture, NumberingRestartsInEverySubdirectory)
{
    tmp.file("one/x.txt");
    tmp.file("one/y.txt");
    tmp.file("two/z.txt");
    tmp.file("top.txt");
    scope.recursive = true;
    scope.renameDirectories = false;
    options.ComboBox1 = engine::kCaseKeep;
    options.NumerazioneFiles1 = true;
    state.NumLayout = engine::defaultNumLayout();
    state.NumStart = 5;
    click();
    EXPECT_EQ(namesIn("one"), (std::vector<std::string> { "05 - x.txt", "06 - y.txt" }));
    EXPECT_EQ(namesIn("two"), std::vector<std::string> { "05 - z.txt" });
    EXPECT_TRUE(tmp.exists("05 - top.txt"));
}

TEST_F(RunFixture, PreviewChangesNothingAndLeavesTheUndoLogAlone)
{
    tmp.file("a b/x y.mp3");
    tmp.file("c.txt");
    scope.recursive = true;
    click();
    const engine::UndoLog undoBefore = state.undo;
    const auto namesBefore = namesIn();

    options.ComboBox1 = engine::kCaseUpper;
    preview();

    EXPECT_EQ(namesIn(), namesBefore);
    EXPECT_TRUE(state.undo == undoBefore);
    ASSERT_EQ(state.previewRows.size(), 3U);
    EXPECT_EQ(state.previewRows.directory(0), dirText("A B"));
    EXPECT_EQ(state.previewRows.newName(0), U"X Y.MP3");
    EXPECT_EQ(state.previewRows.oldName(1), U"A B");
    EXPECT_EQ(state.previewRows.oldName(2), U"C.txt");
}

TEST_F(RunFixture, PreviewOfASelectionListsExactlyTheRowsTheRunRenames)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    tmp.file("c.txt");
    tmp.file("d.txt");
    tmp.file("e.txt");
    tmp.file("one/inner.txt");
    tmp.dir("two");
    tmp.dir("three");
    scope.renameDirectories = true;
    scope.recursive = true;
    scope.selection = { U"d.txt", U"a.txt", U"c.txt", U"b.txt" };
    options.ComboBox1 = engine::kCaseUpper;
    preview();
    const engine::UndoLog rows = state.previewRows;
    EXPECT_EQ(namesIn(),
        (std::vector<std::string> {
            "a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "one", "three", "two" }));

    click();
    ASSERT_EQ(state.undo.size(), 4U);
    ASSERT_EQ(rows.size(), state.undo.size()) << "the preview shows the run's rows, no others";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(rows.directory(row), state.undo.directory(row));
        EXPECT_EQ(rows.oldName(row), state.undo.oldName(row));
        EXPECT_EQ(rows.newName(row), state.undo.newName(row));
    }
}

} // namespace
} // namespace quorvane::test
