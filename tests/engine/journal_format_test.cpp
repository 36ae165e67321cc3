// The run journal's records: read back exactly, and a damaged or cut-off tail ignored.
#include "engine/journal_format.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::test {
namespace {

using engine::JournalEncoder;

/// A finished journal of two entries, the second renamed to a typed name.
std::string sampleJournal()
{
    std::string bytes(engine::kJournalMagic);
    JournalEncoder encoder;
    JournalEncoder::header(bytes, engine::JournalKind::Run, 1'700'000'000, "/m/", "");
    encoder.plannedEntry(bytes, { "/m/", "a b.mp3", "A B.mp3", { 7, 11, 5 }, false });
    encoder.plannedEntry(bytes, { "/m/x\n\xff/", "s\xe0.txt", "S\xe0.txt", { 7, 12, 0 }, true });
    encoder.plannedEntry(bytes, { "/m/", "c.txt", "C.txt", { 7, 13, 0 }, true });
    JournalEncoder::start(bytes);
    JournalEncoder::done(bytes, 0);
    JournalEncoder::refused(bytes, 1, 17);
    JournalEncoder::typed(bytes, 1, "other\x01.txt");
    JournalEncoder::done(bytes, 1);
    JournalEncoder::close(bytes, 2, 0);
    return bytes;
}

TEST(JournalFormat, ChecksumIsTheStandardCrc32)
{
    EXPECT_EQ(engine::crc32("123456789"), 0xCBF43926U);
    EXPECT_EQ(engine::crc32(""), 0U);
    // Long enough for the eight-byte steps and a tail.
    EXPECT_EQ(engine::crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339U);
}

TEST(JournalFormat, RecordsReadBackByteForByte)
{
    const auto contents = engine::decodeJournal(sampleJournal());
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->kind, engine::JournalKind::Run);
    EXPECT_EQ(contents->created, 1'700'000'000);
    EXPECT_EQ(contents->directory, "/m/");
    ASSERT_EQ(contents->entries.size(), 3U);
    EXPECT_EQ(contents->directories.size(), 2U); // each directory written once
    EXPECT_EQ(contents->entries[2].directory, "/m/");
    EXPECT_EQ(contents->entries[1].directory, "/m/x\n\xff/");
    EXPECT_EQ(contents->entries[1].oldName, "s\xe0.txt");
    EXPECT_EQ(contents->entries[1].newName, "S\xe0.txt");
    EXPECT_EQ(contents->entries[1].identity, (platform::FileIdentity { 7, 12, 0 }));
    EXPECT_TRUE(contents->entries[1].caseChange);
    EXPECT_TRUE(contents->started);
    EXPECT_TRUE(contents->progress[0].done);
    EXPECT_EQ(contents->progress[1].lastError, 17);
    EXPECT_EQ(contents->progress[1].typedNames, (std::vector<std::string> { "other\x01.txt" }));
    EXPECT_TRUE(contents->closed);
    EXPECT_EQ(contents->closedRenamed, 2U);
    EXPECT_FALSE(contents->torn);
}

TEST(JournalFormat, WhatIsNotAJournalIsRefused)
{
    EXPECT_FALSE(engine::decodeJournal(""));
    EXPECT_FALSE(engine::decodeJournal("QVJRNL2\n"));
    std::string headless(engine::kJournalMagic);
    JournalEncoder::start(headless); // records before a header mean nothing
    EXPECT_FALSE(engine::decodeJournal(headless));
}

/// Cut-off points inside the closing record, which a crash may have left half-written.
class TornTail : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(TornTail, TornLastRecordIsIgnoredAndEverythingBeforeItKept)
{
    const std::string whole = sampleJournal();
    std::string withoutClose = whole;
    withoutClose.resize(
        whole.size() - (8 + 1 + 16)); // frame, type, two counts // the frame and payload of 'C'
    const std::size_t keep = withoutClose.size() + GetParam();
    ASSERT_LT(keep, whole.size());

    const auto contents = engine::decodeJournal(std::string_view(whole).substr(0, keep));
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->torn, GetParam() != 0);
    EXPECT_FALSE(contents->closed);
    EXPECT_TRUE(contents->progress[1].done);
    EXPECT_EQ(contents->entries.size(), 3U);
}

INSTANTIATE_TEST_SUITE_P(EveryCut, TornTail, ::testing::Range<std::size_t>(0, 25));

TEST(JournalFormat, DamagedRecordEndsWhatCanBeTrusted)
{
    std::string bytes = sampleJournal();
    // A byte of the second entry's old name: its checksum fails, and the start record
    // behind it must not be believed either, so the plan reads as never started.
    bytes[bytes.find("s\xe0.txt")] = 'S';
    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(contents->torn);
    EXPECT_EQ(contents->entries.size(), 1U);
    EXPECT_FALSE(contents->started);
    EXPECT_FALSE(contents->closed);
}

TEST(JournalFormat, ProgressForAnEntryThatWasNeverPlannedIsDamage)
{
    std::string bytes(engine::kJournalMagic);
    JournalEncoder::header(bytes, engine::JournalKind::Run, 0, "/m/", "");
    JournalEncoder::start(bytes);
    JournalEncoder::typed(bytes, 3, "x");
    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(contents->torn);
    EXPECT_TRUE(contents->progress.empty());
}

} // namespace
} // namespace quorvane::test
