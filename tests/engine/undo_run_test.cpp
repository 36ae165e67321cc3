// "Annulla": the last run reversed on real directories.
#include "run_fixture.h"

#include <sys/stat.h>

#include <cerrno>

namespace quorvane::test {
namespace {

TEST_F(RunFixture, UndoRenamesBackLastFirst)
{
    tmp.file("a.txt", "a");
    tmp.file("b.txt", "b");
    click();
    std::vector<std::string> order;
    fs.renameError = [&](int, const std::string& from, const std::string&) {
        order.push_back(from.substr(from.rfind('/') + 1));
        return 0;
    };
    observer.calls.clear();

    EXPECT_TRUE(undo().empty());

    EXPECT_EQ(order, (std::vector<std::string> { "B.txt", "A.txt" }));
    EXPECT_EQ(tmp.read("a.txt"), "a");
    EXPECT_EQ(tmp.read("b.txt"), "b");
    EXPECT_EQ(observer.calls, (std::vector<std::string> { "renamed", "renamed" }));
}

TEST_F(RunFixture, UndoOfARecursiveRunRestoresTheParentFirst)
{
    tmp.file("a b/x y.mp3", "song");
    scope.recursive = true;
    click();
    ASSERT_TRUE(tmp.exists("A B/X Y.mp3"));

    EXPECT_TRUE(undo().empty());

    EXPECT_EQ(namesIn(), std::vector<std::string> { "a b" });
    EXPECT_EQ(tmp.read("a b/x y.mp3"), "song");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RunFixture, UndoAfterARunThatRenamedNothingOnlyDisablesTheButton)
{
    tmp.file("Same.txt");
    click();
    observer.calls.clear();
    undo();
    EXPECT_EQ(fs.renameCalls, 0);
    EXPECT_TRUE(observer.calls.empty());
}

TEST_F(RunFixture, UndoReportsAVanishedFileOnceAndRestoresTheRest)
{
    tmp.file("a.txt");
    tmp.file("b.txt");
    tmp.file("c.txt");
    click();
    std::filesystem::remove(tmp / "B.txt");

    const auto givenUp = undo();

    ASSERT_EQ(givenUp.size(), 1U);
    EXPECT_EQ(state.undo.oldName(givenUp[0]), U"b.txt");
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].text, U"Errore: file " + dirText() + U"B.txt è in uso");
    EXPECT_EQ(namesIn(), (std::vector<std::string> { "a.txt", "c.txt" }));
    // The window re-reads its list before the message, so the box matches the disk.
    EXPECT_EQ(std::ranges::count(observer.calls, "refused"), 1);
    EXPECT_EQ(std::ranges::count(observer.calls, "givenUp"), 1);
}

TEST_F(RunFixture, UndoTriesOnceMoreAfterTheMessage)
{
    tmp.file("a.txt");
    click();
    fs.renameError = [](int call, const std::string&, const std::string&) {
        return call == 2 ? EACCES : 0; // call 1 was the run's rename
    };
    EXPECT_TRUE(undo().empty());
    EXPECT_EQ(prompts.messages.size(), 1U);
    EXPECT_TRUE(tmp.exists("a.txt"));
}

TEST_F(RunFixture, UndoDoesNotOverwriteAFileThatTookTheOldName)
{
    tmp.file("a.txt", "original");
    click();
    tmp.file("a.txt", "newcomer");
    EXPECT_EQ(undo().size(), 1U);
    EXPECT_EQ(tmp.read("a.txt"), "newcomer");
    EXPECT_EQ(tmp.read("A.txt"), "original");
    // The message says what stands in the way: the name is taken, nothing is in use.
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0].id, "RIPRISTINO_NOME_GIA_PRESENTE");
    EXPECT_NE(prompts.messages[0].text.find(dirText() + U"A.txt"), std::u32string::npos);
    EXPECT_NE(prompts.messages[0].text.find(U"a.txt"), std::u32string::npos);
}

TEST_F(RunFixture, UndoLeavesAttributesAsTheRunSetThem)
{
    tmp.file("a.txt");
    scope.setAttributes = true;
    scope.readOnly = true;
    click();
    undo();
    struct stat st
    {
    };
    ASSERT_EQ(::stat((tmp / "a.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0U);
}

} // namespace
} // namespace quorvane::test
