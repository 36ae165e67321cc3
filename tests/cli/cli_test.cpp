// quorvane-cli's options and commands, run in-process on real temporary directories.
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "platform/stop_signal.h"

#include "support/failing_file_system.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::cli {
namespace {

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> args, const std::string& input = {},
    platform::FileSystem* fs = nullptr)
{
    Outcome outcome;
    ParseResult parsed = parseCommandLine(args);
    if (!parsed.command) {
        outcome.status = 2;
        outcome.err = parsed.error;
        return outcome;
    }
    test::FailingFileSystem real;
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    outcome.status = runCommand(*parsed.command, fs != nullptr ? *fs : real, in, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

TEST(CliOptions, BadUsageIsOneErrorAndStatusTwo)
{
    const std::vector<std::vector<std::string>> bad {
        { "frobnicate" },
        { "transform", "--case", "title" },
        { "transform", "--digits", "9" },
        { "transform", "--digits", "0" },
        { "transform", "--start", "2147483648" },
        { "transform", "--start", "12x" },
        { "transform", "--replace", "a" },
        { "transform", "--with", "b" },
        { "transform", "--delete", "" },
        { "transform", "--layout", "Numerazione", "--remove-numbers", "1" },
        { "transform", "--remove-numbers", "4" },
        { "transform", "--recursive" },
        { "transform", "--language" },
        { "preview" },
        { "preview", "--recursive" },
        { "rename", "/tmp", "-z" },
        { "rename", "/tmp", "--attributes", "RX" },
        { "rename", "/tmp", "--mask" },
        { "rename", "/tmp", "--select", "../outside/victim.txt" },
        { "rename", "/tmp", "--select", "sub/" },
        { "rename", "/tmp", "--select", "" },
        { "rename", "/tmp", "--select", ".." },
        { "rename", "/tmp", "--order", "o.txt" },
        { "transform", "--layout", "Numerazione", "--order", "o.txt" },
        { "rename", "/tmp", "--layout", "Numerazione", "--order", "o.txt", "--select", "a" },
        { "rename", "/tmp", "--layout", "Numerazione", "--order", "o.txt", "--mask", "*.*" },
        { "rename", "/tmp", "--layout", "Numerazione", "--order", "o.txt", "--recursive" },
        { "rename", "/tmp", "--layout", "Numerazione", "--order", "o.txt", "--names-from", "n" },
        { "rename", "/tmp", "--cdplayer", "cd.ini" },
        { "rename", "/tmp", "--album", "7A0B3C2D" },
        { "rename", "/tmp", "--cdplayer", "cd.ini", "--album", "x", "--names-from", "n" },
        { "albums" },
        { "albums", "cd.ini", "--force" },
    };
    for (const auto& args : bad) {
        const ParseResult parsed = parseCommandLine(args);
        EXPECT_FALSE(parsed.command.has_value())
            << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(CliOptions, OptionsReachTheEngine)
{
    const std::vector<std::string> args { "rename", "d", "--case", "upper",
        "--no-capital-after-dash", "--underscores", "--dos", "--no-keep-ext-dot", "--layout",
        "Filename", "--layout", " # ", "--digits", "3", "--start", "-5", "--step", "10", "--mask",
        "*.mp3", "--dirs-only", "--no-dirs", "--select", "a", "--attributes", "RA", "--replace",
        "x", "--with", "y" };
    const ParseResult parsed = parseCommandLine(args);
    ASSERT_TRUE(parsed.command) << parsed.error;
    const CliCommand& c = *parsed.command;
    EXPECT_EQ(c.options.ComboBox1, 2);
    EXPECT_FALSE(c.options.CheckBox12);
    EXPECT_TRUE(c.options.CheckBox6);
    EXPECT_TRUE(c.options.CheckBox8);
    EXPECT_TRUE(c.options.dosnames1);
    EXPECT_FALSE(c.options.KeepExtDot);
    EXPECT_TRUE(c.options.NumerazioneFiles1);
    EXPECT_EQ(c.layoutWords, (std::vector<std::u32string> { U"Filename", U" # " }));
    EXPECT_EQ(c.state.NumDigits, 3);
    EXPECT_EQ(c.state.NumStart, -5);
    EXPECT_EQ(c.state.NumStep, 10);
    EXPECT_EQ(c.scope.mask, U"*.mp3");
    EXPECT_TRUE(c.scope.directoriesOnly);
    EXPECT_TRUE(c.scope.renameDirectories) << "only directories forces the directories on";
    EXPECT_EQ(c.scope.selection, std::vector<std::u32string> { U"a" });
    EXPECT_TRUE(c.scope.setAttributes);
    EXPECT_EQ(c.scope.attributeValue(), 33U);
    EXPECT_TRUE(c.options.SostSeqCar1);
    EXPECT_EQ(c.state.ReplaceTo, U"y");

    const ParseResult empty
        = parseCommandLine(std::vector<std::string> { "rename", "d", "--attributes", "" });
    ASSERT_TRUE(empty.command);
    EXPECT_TRUE(empty.command->scope.setAttributes);
    EXPECT_EQ(empty.command->scope.attributeValue(), 0U);
}

TEST(CliTransform, DefaultRulesAndDirectoryEntries)
{
    const Outcome o = run({ "transform" }, "MY_song - the BEST (live).MP3\nsome dir/\nlast");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "My_song - The Best (Live).mp3\nSome Dir\nLast\n");
}

TEST(CliTransform, NumberingCountsFilesOnlyInInputOrder)
{
    const Outcome o = run({ "transform", "--case", "keep", "--layout", "Numerazione", "--layout",
                              "Separatore", "--layout", "Filename", "--start", "9" },
        "b.mp3\nsub/\na.mp3\n");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "09 - b.mp3\nsub\n10 - a.mp3\n");
}

TEST(CliTransform, NulSeparatedRecordsKeepNewlinesInNames)
{
    const Outcome o = run({ "transform", "-z", "--case", "upper" }, std::string("a\nb\0c", 5));
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, std::string("A\nB\0C\0", 6));
}

TEST(CliTransform, InvalidUtf8PassesThroughUnchanged)
{
    const Outcome o = run({ "transform", "--case", "lower" }, "CAF\xC9.TXT\n");
    EXPECT_EQ(o.out, "caf\xC9.txt\n");
}

TEST(CliTransform, NamesFromFileAndTooFewNames)
{
    test::TempDir tmp;
    tmp.file("names.txt", "the end\r\n\r\nintro\r\n");
    const Outcome o = run({ "transform", "--names-from", tmp / "names.txt" }, "x.mp3\ny.mp3\n");
    EXPECT_EQ(o.status, 0);
    // The extension is kept as preview and rename keep it.
    EXPECT_EQ(o.out, "The End.mp3\nIntro.mp3\n");
    const Outcome bare
        = run({ "transform", "--names-from", tmp / "names.txt", "--no-keep-extension" },
            "x.mp3\ny.mp3\n");
    EXPECT_EQ(bare.out, "The End\nIntro\n");

    const Outcome tooFew = run({ "transform", "--names-from", tmp / "names.txt" }, "x\ny\nz\n");
    EXPECT_EQ(tooFew.status, 1);
    EXPECT_TRUE(tooFew.out.empty());
    EXPECT_FALSE(tooFew.err.empty());

    const Outcome missing = run({ "transform", "--names-from", tmp / "absent.txt" }, "x\n");
    EXPECT_EQ(missing.status, 2);
}

TEST(CliNamesFrom, UnusableListFileRefusesEveryCommandAndRenamesNothing)
{
    test::TempDir tmp;
    tmp.file("d/a.mp3");
    tmp.file("d/b.mp3");
    tmp.file("empty.txt");
    tmp.file("blank.txt", "\r\n\n");
    tmp.file("nul.txt", std::string("x\0y\n", 4));
    tmp.file("escape.txt", "one\n\x1B[31mtwo\n");
    tmp.dir("folder");
    for (const std::string list :
        { "empty.txt", "blank.txt", "nul.txt", "escape.txt", "folder", "absent.txt" }) {
        for (const std::string mode : { "rename", "preview", "transform" }) {
            std::vector<std::string> args { mode, tmp / "d", "--names-from", tmp / list };
            if (mode == "transform")
                args.erase(args.begin() + 1);
            const Outcome o = run(args, "a.mp3\nb.mp3\n");
            EXPECT_EQ(o.status, 2) << mode << " " << list;
            EXPECT_TRUE(o.out.empty()) << o.out;
            EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
            EXPECT_NE(o.err.find(list), std::string::npos) << o.err;
        }
    }
    EXPECT_TRUE(tmp.exists("d/a.mp3"));
    EXPECT_TRUE(tmp.exists("d/b.mp3"));

    // Lines past the last file are never used, so they are not looked at either.
    tmp.file("long.txt", "one\ntwo\n\x01unused\n");
    const Outcome o = run({ "rename", tmp / "d", "--names-from", tmp / "long.txt" });
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(tmp.exists("d/One.mp3"));
    EXPECT_TRUE(tmp.exists("d/Two.mp3"));
}

TEST(CliPreview, RowsInRunOrderWithoutTouchingTheDisk)
{
    test::TempDir tmp;
    tmp.file("a b/x y.mp3");
    tmp.file("c.txt");
    const Outcome o = run({ "preview", tmp.path(), "--recursive" });
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out,
        tmp / "a b/\tx y.mp3\tX Y.mp3\n" + tmp.path() + "/\ta b\tA B\n" + tmp.path()
            + "/\tc.txt\tC.txt\n");
    EXPECT_TRUE(tmp.exists("a b/x y.mp3"));
}

TEST(CliPreview, NamesFromPairsTheSortedFilesAndKeepsExtensions)
{
    test::TempDir tmp;
    tmp.file("b.mp3");
    tmp.file("a.mp3");
    tmp.file("c.mp3");
    tmp.dir("sub");
    tmp.file("list.txt", "intro\noutro\n");
    const Outcome o = run({ "preview", tmp.path(), "--mask", "*.mp3", "--names-from",
        tmp / "list.txt", "--case", "keep" });
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string d = tmp.path() + "/\t";
    EXPECT_EQ(o.out, d + "a.mp3\tintro.mp3\n" + d + "b.mp3\toutro.mp3\n" + d + "c.mp3\tc.mp3\n");

    EXPECT_EQ(o.err,
        "quorvane-cli: 1 of 3 files have no name in the list: the other rules alone apply to "
        "them\n");
    // The file without a name keeps its extension whatever the named ones do.
    const Outcome bare = run({ "preview", tmp.path(), "--mask", "*.mp3", "--names-from",
        tmp / "list.txt", "--no-keep-extension", "--case", "keep" });
    EXPECT_EQ(bare.out, d + "a.mp3\tintro\n" + d + "b.mp3\toutro\n" + d + "c.mp3\tc.mp3\n");

    // No file to name is said as such, not blamed on the list.
    const Outcome none
        = run({ "preview", tmp.path(), "--mask", "*.ogg", "--names-from", tmp / "list.txt" });
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "quorvane-cli: " + tmp.path() + " holds no file to name (mask *.ogg)\n");
}

TEST(CliNamesFrom, ListsThatWouldJoinNamesOrHideFilesRenameNothing)
{
    test::TempDir tmp;
    tmp.file("d/a.mp3");
    tmp.file("d/b.mp3");
    tmp.file("d/c.mp3");
    tmp.file("cr.txt", "Intro\rOutro\rThird\r");
    tmp.file("hidden.txt", "one\n.hidden\n");
    tmp.file("dots.txt", "one\ntwo\n..\n");
    for (const std::string list : { "cr.txt", "hidden.txt", "dots.txt" }) {
        for (const std::string mode : { "rename", "preview" }) {
            const Outcome o = run({ mode, tmp / "d", "--names-from", tmp / list });
            EXPECT_EQ(o.status, 2) << mode << " " << list;
            EXPECT_TRUE(o.out.empty()) << o.out;
            EXPECT_NE(o.err.find(" is not a usable list of names: line "), std::string::npos)
                << o.err;
        }
    }
    EXPECT_EQ(tmp.namesIn("d"), (std::vector<std::string> { "a.mp3", "b.mp3", "c.mp3" }));
}

TEST(CliPreview, NamesLongerThanTheFileSystemAllowsWillFail)
{
    test::TempDir tmp;
    tmp.file("a.txt");
    tmp.file("b.txt");
    const platform::PosixFileSystem fs;
    const std::size_t longest = fs.longestName(tmp.path());
    ASSERT_GT(longest, 4U);
    // With its extension kept, the first name is one byte too long; the second just fits.
    test::TempDir lists;
    lists.file("names.txt", std::string(longest - 3, 'x') + "\n" + std::string(longest - 4, 'y'));
    const Outcome o
        = run({ "preview", tmp.path(), "--names-from", lists / "names.txt", "--case", "keep" });
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 2) << "every row is still shown";
    EXPECT_EQ(o.err,
        "quorvane-cli: will fail: " + tmp.path() + "/a.txt -> " + std::string(longest - 3, 'x')
            + ".txt: File name too long\n");
}

TEST(CliPreview, NamesAreEscapedForPeopleAndRawWithZ)
{
    test::TempDir tmp;
    const std::string name = "a\tb\n\x1B[2J.txt";
    tmp.file(name);
    const std::string shown = R"(a\tb\n\x1b[2J.txt)";
    const Outcome rows = run({ "preview", tmp.path(), "--case", "keep" });
    EXPECT_EQ(rows.status, 0) << rows.err;
    EXPECT_EQ(rows.out, tmp.path() + "/\t" + shown + "\t" + shown + "\n");

    const Outcome raw = run({ "preview", tmp.path(), "-z", "--case", "keep" });
    EXPECT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(raw.out, tmp.path() + "/" + '\0' + name + '\0' + name + '\0');

    // Messages that hold the name escape it too.
    test::FailingFileSystem fs;
    fs.renameError = [](int, const std::string&, const std::string&) { return EACCES; };
    const Outcome refused = run({ "rename", tmp.path(), "--case", "upper" }, {}, &fs);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("cannot rename " + tmp / shown), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("1 of 1 entries could not be renamed"), std::string::npos);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 2) << refused.err;
    EXPECT_EQ(refused.err.find('\x1B'), std::string::npos);
}

TEST(CliPreview, NewNamesTakenOnDiskOrByAnotherRowAreConflicts)
{
    test::TempDir tmp;
    tmp.file("A.TXT");
    tmp.file("a.txt");
    tmp.file("x  1.txt");
    tmp.file("x 1.txt");
    const Outcome o = run({ "preview", tmp.path(), "--case", "upper", "--compact-spaces" });
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 4) << "every row is still shown";
    const std::string dir = tmp.path() + "/";
    EXPECT_EQ(o.err,
        "quorvane-cli: conflict: " + dir
            + "a.txt -> A.TXT: an entry of that name is already there\n"
              "quorvane-cli: conflict: "
            + dir
            + "x  1.txt -> X 1.TXT: another entry gets the same new name\n"
              "quorvane-cli: conflict: "
            + dir + "x 1.txt -> X 1.TXT: another entry gets the same new name\n");

    const Outcome clean = run({ "preview", tmp.path(), "--case", "keep" });
    EXPECT_EQ(clean.status, 0);
    EXPECT_TRUE(clean.err.empty()) << clean.err;
}

TEST(CliRename, PrintsTheSummaryAndRenames)
{
    test::TempDir tmp;
    tmp.file("x y.mp3", "data");
    const Outcome o = run({ "rename", tmp.path() });
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(
        o.out.starts_with("Quorvane 0.99 - Ultima operazione: 1 files rinominati in 0 minuti e "))
        << o.out;
    EXPECT_EQ(tmp.read("X Y.mp3"), "data");
}

TEST(CliRename, RefusedRenameIsGivenUpReportedAndExitsOne)
{
    test::TempDir tmp;
    tmp.file("A.txt", "upper");
    tmp.file("a.TXT", "lower");
    const Outcome o = run({ "rename", tmp.path(), "--case", "upper" });
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("a.TXT"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("error " + std::to_string(EEXIST)), std::string::npos) << o.err;
    EXPECT_EQ(tmp.read("A.TXT"), "upper");
    EXPECT_EQ(tmp.read("a.TXT"), "lower");
}

TEST(CliRename, DangerousDirectoryNeedsForce)
{
    test::TempDir tmp;
    tmp.file("a.txt");
    test::FailingFileSystem fs;
    fs.dangerous.push_back(tmp.path());
    const Outcome refused = run({ "rename", tmp.path() }, {}, &fs);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("PERICOLOSO"), std::string::npos) << refused.err;
    EXPECT_TRUE(tmp.exists("a.txt"));
    EXPECT_EQ(fs.renameCalls, 0);

    const Outcome forced = run({ "rename", tmp.path(), "--force" }, {}, &fs);
    EXPECT_EQ(forced.status, 0);
    EXPECT_TRUE(tmp.exists("A.txt"));
}

TEST(CliRename, TheTemporaryDirectoryItselfNeedsForce)
{
    // The temporary directory is one this test made: a wrong answer renames only its files.
    test::TempDir tmp;
    tmp.file("a.txt");
    tmp.dir("other program");
    const test::ScopedEnv tempEnv("TMPDIR", tmp.path());
    const Outcome refused = run({ "rename", tmp.path() });
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("PERICOLOSO"), std::string::npos) << refused.err;
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "a.txt", "other program" }));
}

TEST(CliRename, EveryEntryThatKeptItsAttributesIsNamedAndExitsOne)
{
    test::TempDir tmp;
    tmp.file("plain/a.txt");
    tmp.file("links/a.txt");
    // Extended attributes cannot be put on a symbolic link itself.
    ASSERT_EQ(::symlink("a.txt", (tmp / "links/link.txt").c_str()), 0);

    const Outcome clean = run({ "rename", tmp / "plain", "--attributes", "", "--case", "keep" });
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_TRUE(clean.err.empty()) << clean.err;

    const Outcome o = run({ "rename", tmp / "links", "--attributes", "H", "--case", "keep" });
    EXPECT_EQ(o.status, 1);
    const std::string line = "quorvane-cli: attributes not set on " + tmp / "links/link.txt" + ": ";
    EXPECT_TRUE(o.err.starts_with(line) || o.err.find("\n" + line) != std::string::npos) << o.err;
    EXPECT_EQ(o.err.find("attributi"), std::string::npos) << "the count is not told again";
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1) << "the summary line still comes";
}

TEST(CliRename, SignalStopsBeforeTheNextEntryAndListsWhatWasLeft)
{
    test::TempDir tmp;
    tmp.file("sub/inner.txt", "i");
    tmp.file("top.txt", "t");
    for (const int signal : { SIGINT, SIGTERM }) {
        // Whatever the test runner left for the signal, the handler must be the program's.
        struct sigaction previous = {};
        struct sigaction defaults = {};
        defaults.sa_handler = SIG_DFL;
        ASSERT_EQ(::sigaction(signal, &defaults, &previous), 0);
        platform::installStopHandlers();
        ASSERT_EQ(::raise(signal), 0);
        const Outcome o = run({ "rename", tmp.path(), "--recursive", "--case", "upper" });
        platform::clearStopSignal();
        ::sigaction(signal, &previous, nullptr);

        EXPECT_EQ(o.status, 128 + signal);
        EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 1) << "the summary line";
        const std::string stopped = std::string("quorvane-cli: stopped by ")
            + (signal == SIGINT ? "SIGINT" : "SIGTERM") + "; not finished: ";
        std::string expected = stopped;
        expected += tmp / "sub/\n";
        expected += stopped;
        expected += tmp.path() + "/\n";
        EXPECT_EQ(o.err, expected);
        EXPECT_TRUE(tmp.exists("sub/inner.txt"));
        EXPECT_TRUE(tmp.exists("top.txt"));
    }
    EXPECT_EQ(platform::receivedStopSignal(), 0);
    EXPECT_EQ(run({ "rename", tmp.path(), "--recursive", "--case", "upper" }).status, 0)
        << "a cleared signal stops nothing";
    EXPECT_TRUE(tmp.exists("SUB/INNER.TXT"));
}

TEST(CliRename, MissingDirectoryIsBadUsage)
{
    test::TempDir tmp;
    EXPECT_EQ(run({ "rename", tmp / "absent" }).status, 2);
    EXPECT_EQ(run({ "preview", tmp / "absent" }).status, 2);
}

TEST(CliSelection, NameThatIsNotAFileOfTheDirectoryRefusesTheWholeCommand)
{
    test::TempDir tmp;
    tmp.file("a.txt", "a");
    tmp.dir("sub");
    for (const std::string mode : { "rename", "preview" }) {
        for (const std::string name : { "absent.txt", "sub" }) {
            const Outcome o = run({ mode, tmp.path(), "--select", "a.txt", "--select", name });
            EXPECT_EQ(o.status, 2) << mode << " " << name;
            EXPECT_TRUE(o.out.empty()) << o.out;
            EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
            EXPECT_NE(o.err.find(name), std::string::npos) << o.err;
        }
    }
    EXPECT_TRUE(tmp.exists("a.txt"));
    EXPECT_TRUE(tmp.exists("sub"));
}

/// A command refused before any rename: status 2 and one line saying why.
void expectRefused(const Outcome& o, const std::string& reason)
{
    EXPECT_EQ(o.status, 2) << reason;
    EXPECT_TRUE(o.out.empty()) << o.out;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_NE(o.err.find(reason), std::string::npos) << o.err;
}

TEST(CliOrder, NumbersExactlyTheListedEntriesInTheListsOrder)
{
    test::TempDir tmp;
    for (const char* name : { "d/a.mp3", "d/b.mp3", "d/c.mp3", "d/.cover.jpg" })
        tmp.file(name);
    tmp.dir("d/live");
    tmp.file("order.txt", "c.mp3\r\n\r\nlive\r\n.cover.jpg\r\na.mp3\r\n");
    const Outcome o = run({ "rename", tmp / "d", "--layout", "Numerazione", "--layout", "Spazio",
        "--layout", "Filename", "--start", "7", "--order", tmp / "order.txt", "--case", "keep" });
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(tmp.namesIn("d"),
        (std::vector<std::string> { "07 c.mp3", "08 live", "09 .cover.jpg", "10 a.mp3", "b.mp3" }));
}

TEST(CliOrder, AListThatIsNotOfEntriesOfTheDirectoryRenamesNothing)
{
    test::TempDir tmp;
    tmp.file("d/a.mp3");
    tmp.file("d/b.mp3");
    tmp.file("outside.mp3");
    const std::vector<std::pair<std::string, std::string>> refused {
        { "a.mp3\nmissing.mp3\n", "\"missing.mp3\" is not an entry of" },
        { "a.mp3\nb.mp3\na.mp3\n", "\"a.mp3\" is listed twice" },
        { "../outside.mp3\n", "is not an entry of" }, { "a.mp3\n.\n", "\".\" is not an entry" },
        { "\r\n", "no name" }, { "a.mp3\n\x1B[2J\n", "control byte" }
    };
    for (const auto& [list, reason] : refused) {
        tmp.file("order.txt", list);
        for (const std::string mode : { "rename", "preview" })
            expectRefused(
                run({ mode, tmp / "d", "--layout", "Numerazione", "--order", tmp / "order.txt" }),
                reason);
    }
    expectRefused(run({ "rename", tmp / "d", "--layout", "Numerazione", "--order", tmp.path() }),
        "is a directory");
    EXPECT_EQ(tmp.namesIn("d"), (std::vector<std::string> { "a.mp3", "b.mp3" }));
}

constexpr const char* kDatabase = "[7A0B3C2D]\r\nartist=Band\r\ntitle=Live\r\nnumtracks=3\r\n"
                                  "0=intro\r\n1=song\r\n2=the end\r\n"
                                  "[Gap]\ntitle=Tab\there\nnumtracks=3\n0=first\n2=third\n"
                                  "[Broken]\nnumtracks=3x\n0=x\n[Empty]\nartist=Nobody\n"
                                  "[Ctrl]\nnumtracks=1\n0=\x1B[2J\n";

TEST(CliCdPlayer, AlbumsListedAndTrackTitlesNameTheFilesAsAListFileWould)
{
    test::TempDir tmp;
    tmp.file("cdplayer.ini", kDatabase);
    const Outcome albums = run({ "albums", tmp / "cdplayer.ini" });
    EXPECT_EQ(albums.status, 0) << albums.err;
    EXPECT_EQ(albums.out,
        "7A0B3C2D\tBand\tLive\t3\nGap\t--\tTab\\there\t3\nBroken\t--\t--\t3x\n"
        "Empty\tNobody\t--\t--\nCtrl\t--\t--\t1\n");

    for (const char* name : { "d/t1.mp3", "d/t2.mp3", "d/t3.mp3", "e/x.ogg", "e/y.ogg", "e/z.ogg" })
        tmp.file(name);
    const Outcome o
        = run({ "rename", tmp / "d", "--cdplayer", tmp / "cdplayer.ini", "--album", "7a0b3c2d" });
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(
        tmp.namesIn("d"), (std::vector<std::string> { "Intro.mp3", "Song.mp3", "The End.mp3" }));

    // A missing title keeps its track's row: its file keeps its name, the later titles
    // stay beside their own tracks, and the gap is named.
    const Outcome gap = run({ "preview", tmp / "e", "--cdplayer", tmp / "cdplayer.ini", "--album",
        "Gap", "--case", "keep", "--no-keep-extension" });
    const std::string e = tmp.path() + "/e/\t";
    EXPECT_EQ(gap.out, e + "x.ogg\tfirst\n" + e + "y.ogg\ty.ogg\n" + e + "z.ogg\tthird\n");
    EXPECT_NE(gap.err.find("has no title for track 2\n"), std::string::npos) << gap.err;
    EXPECT_NE(gap.err.find("1 of 3 files have no name"), std::string::npos) << gap.err;
}

TEST(CliCdPlayer, UnusableDatabaseOrAlbumRefusesEveryCommandAndRenamesNothing)
{
    test::TempDir tmp;
    tmp.file("cdplayer.ini", kDatabase);
    tmp.file("d/t1.mp3");
    const std::string ini = tmp / "cdplayer.ini";
    const std::vector<std::tuple<std::string, std::string, std::string>> refused {
        { tmp / "absent.ini", "7A0B3C2D", "No such file or directory" },
        { tmp / "d", "7A0B3C2D", "it is a directory" }, { ini, "Nope", "has no album Nope" },
        { ini, "Broken", "'3x' is not a valid integer value" }, { ini, "Empty", "holds no name" },
        { ini, "Ctrl", "control character 0x1B" }
    };
    for (const auto& [database, album, reason] : refused) {
        for (const std::string mode : { "rename", "preview", "transform" }) {
            std::vector<std::string> args { mode, tmp / "d", "--cdplayer", database, "--album",
                album };
            if (mode == "transform")
                args.erase(args.begin() + 1);
            expectRefused(run(args, "t1.mp3\n"), reason);
        }
    }
    expectRefused(run({ "albums", tmp / "d" }), "it is a directory");
    EXPECT_EQ(tmp.namesIn("d"), std::vector<std::string> { "t1.mp3" });
}

TEST(CliNamesFrom, AListFileWithoutReadPermissionIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the administrator reads every file";
    test::TempDir tmp;
    tmp.file("d/a.mp3");
    tmp.file("names.txt", "one\n");
    ::chmod((tmp / "names.txt").c_str(), 0);
    expectRefused(
        run({ "rename", tmp / "d", "--names-from", tmp / "names.txt" }), "Permission denied");
    EXPECT_TRUE(tmp.exists("d/a.mp3"));
}

} // namespace
} // namespace quorvane::cli
