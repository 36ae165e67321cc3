// Renaming one file from the file list, and renaming the current directory.
#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "engine/file_commands.h"
#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace quorvane::test {
namespace {

using engine::Button;

std::u32string text(const std::string& s)
{
    return platform::decodeName(s);
}

class FileCommands : public ::testing::Test
{
protected:
    engine::SingleRenameResult renameFile(const std::u32string& name, bool dos = false)
    {
        return engine::renameOneFile(fs, prompts, text(tmp.path()), name, dos);
    }

    TempDir tmp;
    FailingFileSystem fs;
    ScriptedPrompts prompts;
};

TEST_F(FileCommands, OneFileIsRenamedWithoutItsForbiddenCharacters)
{
    tmp.file("a.txt", "x");
    prompts.inputs.emplace_back(U"wh?at\\is:it.txt");
    const auto result = renameFile(U"a.txt");
    EXPECT_TRUE(result.renamed);
    EXPECT_EQ(result.name, U"whatisit.txt");
    EXPECT_EQ(tmp.read("whatisit.txt"), "x");
    ASSERT_EQ(prompts.requests.size(), 1U);
    EXPECT_EQ(prompts.requests[0].caption, U"Rinomina file");
    EXPECT_EQ(prompts.requests[0].prompt, U"Directory: " + text(tmp.path()));
    EXPECT_EQ(prompts.requests[0].text, U"a.txt");
}

TEST_F(FileCommands, DosNamesRemoveTheirCharactersToo)
{
    tmp.file("a.txt");
    prompts.inputs.emplace_back(U"a+b[1].txt");
    EXPECT_EQ(renameFile(U"a.txt", true).name, U"ab1.txt");
}

TEST_F(FileCommands, CancelOrTheSameNameRenamesNothing)
{
    tmp.file("a.txt");
    EXPECT_FALSE(renameFile(U"a.txt").renamed);
    prompts.inputs.emplace_back(U"a.txt");
    EXPECT_FALSE(renameFile(U"a.txt").renamed);
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_TRUE(tmp.exists("a.txt"));
}

TEST_F(FileCommands, RefusedRenameAsksAgainUntilItWorksOrIsGivenBack)
{
    tmp.file("a.txt", "a");
    tmp.file("taken.txt", "t");
    prompts.inputs.emplace_back(U"taken.txt");
    prompts.inputs.emplace_back(U"free.txt");
    const auto result = renameFile(U"a.txt");
    EXPECT_EQ(result.name, U"free.txt");
    // A taken name is said to be taken, in a plain message: the next box takes another name
    // or, with Cancel, leaves the file as it is.
    EXPECT_TRUE(prompts.questions.empty());
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "NOME_GIA_PRESENTE");
    EXPECT_NE(prompts.messages[0].text.find(U"taken.txt"), std::u32string::npos);
    EXPECT_EQ(tmp.read("taken.txt"), "t");

    // Any other refusal names its reason.
    fs.renameError = [](int, const std::string&, const std::string&) { return EACCES; };
    prompts.inputs.emplace_back(U"other.txt");
    prompts.inputs.emplace_back(std::nullopt); // Cancel gives the file its own name back
    EXPECT_FALSE(renameFile(U"free.txt").renamed);
    EXPECT_TRUE(tmp.exists("free.txt"));
    ASSERT_EQ(prompts.messages.size(), 2U);
    EXPECT_EQ(prompts.messages[1].id, "RINOMINA_RIFIUTATA");
    EXPECT_NE(prompts.messages[1].text.find(text(std::strerror(EACCES))), std::u32string::npos);
}

TEST_F(FileCommands, AnswersThatWouldLeaveTheDirectoryOrNameNothingAreRefused)
{
    tmp.file("a.txt");
    // Removing the "/" of "../escaped.txt" would have made a hidden "..escaped.txt".
    prompts.inputs.emplace_back(U"???");
    prompts.inputs.emplace_back(U"../escaped.txt");
    prompts.inputs.emplace_back(U"a.txt/");
    prompts.inputs.emplace_back(U"b.txt");
    EXPECT_EQ(renameFile(U"a.txt").name, U"b.txt");
    ASSERT_EQ(prompts.messages.size(), 3U);
    for (const auto& message : prompts.messages)
        EXPECT_EQ(message.id, "CHAR_INVALIDI");
    EXPECT_EQ(tmp.namesIn(), (std::vector<std::string> { "b.txt" }));
}

/// Records what the directory rename did to the window.
class TreeHooks final : public engine::DirectoryRenameHooks
{
public:
    void disableUndo() override { undoDisabled = true; }
    void moveTree(const std::u32string& directory) override { moves.push_back(directory); }
    bool undoDisabled = false;
    std::vector<std::u32string> moves;
};

class DirectoryRename : public FileCommands
{
protected:
    std::optional<std::u32string> rename(const std::string& relative)
    {
        return engine::renameCurrentDirectory(
            fs, prompts, hooks, text(tmp / relative), U"/", false);
    }
    TreeHooks hooks;
};

TEST_F(DirectoryRename, RenamesAndMovesTheTreeAwayAndBack)
{
    tmp.file("old/x.txt", "x");
    prompts.inputs.emplace_back(U"new");
    EXPECT_EQ(rename("old"), text(tmp / "new"));
    EXPECT_TRUE(hooks.undoDisabled);
    EXPECT_EQ(hooks.moves, (std::vector<std::u32string> { U"/", text(tmp / "new") }));
    EXPECT_EQ(tmp.read("new/x.txt"), "x");
    ASSERT_EQ(prompts.requests.size(), 1U);
    EXPECT_EQ(prompts.requests[0].caption, U"Cambia nome alla Directory corrente");
    EXPECT_EQ(prompts.requests[0].text, U"old");
}

TEST_F(DirectoryRename, RefusesBadOrTakenNames)
{
    tmp.dir("old");
    tmp.dir("taken");
    tmp.file("file");
    const std::vector<std::pair<std::u32string, std::string>> cases {
        { U"a..b", "CHAR_INVALIDI" },
        { U"a:b", "CHAR_INVALIDI" },
        { U"a/b", "CHAR_INVALIDI" },
        { U"taken", "DIR_ESISTENTE" },
        { U"file", "DIR_ESISTENTE" },
        { U"", "DIR_ESISTENTE" },
    };
    for (const auto& [answer, message] : cases) {
        prompts.messages.clear();
        prompts.inputs.emplace_back(answer);
        EXPECT_FALSE(rename("old").has_value());
        ASSERT_EQ(prompts.messages.size(), 1U);
        EXPECT_EQ(prompts.messages[0].id, message) << platform::encodeName(answer);
    }
    EXPECT_TRUE(hooks.moves.empty());
    EXPECT_TRUE(tmp.exists("old"));
    EXPECT_EQ(fs.renameCalls, 0);
}

TEST_F(DirectoryRename, FailureMovesBackAndSaysTheDirectoryIsInUse)
{
    tmp.dir("old");
    fs.renameError = [](int, const std::string&, const std::string&) { return EACCES; };
    prompts.inputs.emplace_back(U"new");
    EXPECT_FALSE(rename("old").has_value());
    EXPECT_EQ(hooks.moves, (std::vector<std::u32string> { U"/", text(tmp / "old") }));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "DIR_IN_USO");
}

TEST_F(DirectoryRename, AtAVolumeRootOnlyUndoIsDisabled)
{
    EXPECT_FALSE(engine::renameCurrentDirectory(fs, prompts, hooks, U"/", U"/", false));
    EXPECT_TRUE(hooks.undoDisabled);
    EXPECT_TRUE(prompts.requests.empty());
}

} // namespace
} // namespace quorvane::test
