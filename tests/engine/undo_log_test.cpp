// The compact log of a run's rows: names kept as bytes in one buffer must come back whole
// after every way the run edits them.
#include "engine/undo_log.h"

#include "platform/name_codec.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

std::string rowText(const engine::UndoLog& log, std::size_t row)
{
    return std::string(log.directoryBytes(row)) + "|" + std::string(log.oldNameBytes(row)) + "|"
        + std::string(log.newNameBytes(row));
}

TEST(UndoLog, NamesSurviveTypedNamesAndDroppedRows)
{
    engine::UndoLog log;
    log.append(U"/d/", U"a", U"A");
    log.appendBytes("/d/", "b\xE9", "B"); // a name that is no UTF-8 stays its bytes
    log.append(U"/d/sub/", U"c", U"C");
    log.append(U"/d/", U"d", U"D");
    // A typed name longer than the planned one moves the row's names to the end of the
    // buffer; keeping only some rows afterwards must not mix the bytes of two rows.
    log.setNewName(0, "a name typed in the retry box");
    log.setNewName(3, "");
    EXPECT_EQ(log.oldName(1), platform::decodeName("b\xE9"));
    EXPECT_FALSE(log.unchanged(3));

    log.retainRows({ true, false, true, true });
    ASSERT_EQ(log.size(), 3U);
    EXPECT_EQ(rowText(log, 0), "/d/|a|a name typed in the retry box");
    EXPECT_EQ(rowText(log, 1), "/d/sub/|c|C");
    EXPECT_EQ(rowText(log, 2), "/d/|d|");
    EXPECT_EQ(log.directory(1), U"/d/sub/");

    engine::UndoLog same;
    same.appendBytes("/d/", "a", "a name typed in the retry box");
    same.append(U"/d/sub/", U"c", U"C");
    same.append(U"/d/", U"d", U"");
    EXPECT_TRUE(log == same);
    same.setNewName(2, "x");
    EXPECT_FALSE(log == same);

    log.retainRows({ false, false, false });
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace quorvane
