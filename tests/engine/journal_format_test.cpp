// The run journal's records: read back exactly, and a damaged or cut-off tail ignored.
#include "engine/journal_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

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
    encoder.finishEntries(bytes);
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
    // A byte of the second entry's old name: the checksum of the record packing the
    // entries fails, and the start record behind it must not be believed either, so the
    // plan reads as never started.
    bytes[bytes.find("s\xe0.txt")] = 'S';
    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(contents->torn);
    EXPECT_TRUE(contents->entries.empty());
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

/// A record as the format frames it: length, checksum, payload.
std::string framed(const std::string& payload)
{
    std::string record;
    for (const std::uint32_t field :
        { static_cast<std::uint32_t>(payload.size()), engine::crc32(payload) }) {
        for (unsigned i = 0; i < 4; ++i)
            record.push_back(static_cast<char>((field >> (8U * i)) & 0xFFU));
    }
    return record + payload;
}

std::string u64(std::uint64_t value)
{
    std::string bytes;
    for (unsigned i = 0; i < 8; ++i)
        bytes.push_back(static_cast<char>((value >> (8U * i)) & 0xFFU));
    return bytes;
}

std::string text(const std::string& bytes)
{
    return u64(bytes.size()).substr(0, 4) + bytes;
}

TEST(JournalFormat, JournalsOfTheFirstVersionStillRead)
{
    // One entry record per entry, one progress record per rename: what the runs of the
    // earlier version left behind must still be undone.
    std::string bytes("QVJRNL1\n");
    bytes += framed("HR" + u64(5) + text("/m/") + text(""));
    bytes += framed("P" + text("/m/"));
    bytes += framed("E" + u64(0) + text("a.txt") + text("A.txt") + u64(7) + u64(11) + u64(0)
        + std::string(1, '\0'));
    bytes += framed("E" + u64(0) + text("b.txt") + text("B.txt") + u64(7) + u64(12) + u64(3)
        + std::string(1, '\1'));
    bytes += framed("S");
    bytes += framed("D" + u64(1));

    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_FALSE(contents->torn);
    ASSERT_EQ(contents->entries.size(), 2U);
    EXPECT_EQ(contents->entries[1].directory, "/m/");
    EXPECT_EQ(contents->entries[1].oldName, "b.txt");
    EXPECT_EQ(contents->entries[1].newName, "B.txt");
    EXPECT_EQ(contents->entries[1].identity, (platform::FileIdentity { 7, 12, 3 }));
    EXPECT_TRUE(contents->entries[1].caseChange);
    EXPECT_FALSE(contents->entries[0].caseChange);
    EXPECT_TRUE(contents->started);
    EXPECT_FALSE(contents->progress[0].done);
    EXPECT_TRUE(contents->progress[1].done);
}

TEST(JournalFormat, JournalsOfTheSecondVersionStillRead)
{
    // Packed entries as now, without what tells an entry on a volume whose inode numbers
    // change: that flag is damage there.
    std::string bytes = sampleJournal();
    bytes.replace(0, engine::kJournalMagic.size(), engine::kJournalMagicVersion2);
    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_FALSE(contents->torn);
    ASSERT_EQ(contents->entries.size(), 3U);
    EXPECT_EQ(contents->entries[1].identity, (platform::FileIdentity { 7, 12, 0 }));
    EXPECT_TRUE(contents->entries[1].identity.stableNumbers);
    EXPECT_TRUE(contents->closed);

    std::string unstable(engine::kJournalMagicVersion2);
    JournalEncoder encoder;
    JournalEncoder::header(unstable, engine::JournalKind::Run, 0, "/m/", "");
    platform::FileIdentity identity { 7, 11, 0 };
    identity.stableNumbers = false;
    encoder.plannedEntry(unstable, { "/m/", "a", "b", identity, false });
    encoder.finishEntries(unstable);
    const auto damaged = engine::decodeJournal(unstable);
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->torn);
    EXPECT_TRUE(damaged->entries.empty());
}

TEST(JournalFormat, PackedEntriesReadBackWhateverTheyShareWithTheEntryBefore)
{
    // Names that grow, shrink and change in the middle, so that the bytes shared at the
    // start and at the end overlap in every way; identities that jump both ways and to
    // the ends of their range; directories and devices that change and change back.
    std::mt19937_64 random(20261210);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::string alphabet = "aab_.\xff\xe0";
    const auto changed = [&](std::string name) {
        const char c = alphabet[pick(alphabet.size())];
        switch (pick(6)) {
        case 0:
            return name + c;
        case 1:
            return c + name;
        case 2:
            return name.empty() ? name : name.substr(0, name.size() - 1);
        case 3:
            return name.empty() ? name : name.substr(1);
        case 4:
            if (!name.empty())
                name[pick(name.size())] = c;
            return name;
        default:
            std::string fresh;
            for (std::size_t n = pick(9); n > 0; --n)
                fresh += alphabet[pick(alphabet.size())];
            return fresh;
        }
    };
    const std::vector<std::uint64_t> extremes { 0, 1, 7, ~std::uint64_t { 0 },
        std::uint64_t { 1 } << 63U };
    const auto number = [&](std::uint64_t previous) -> std::uint64_t {
        switch (pick(4)) {
        case 0:
            return previous;
        case 1:
            return previous + pick(5) - 2;
        case 2:
            return extremes[pick(extremes.size())];
        default:
            return random();
        }
    };
    const std::vector<std::string> directories { "/m/", "/m/sub dir/", "/\xff\n/" };

    std::vector<engine::JournalEntry> entries;
    engine::JournalEntry entry { "/m/", "", "", {}, false };
    for (int i = 0; i < 8000; ++i) {
        if (pick(8) == 0)
            entry.directory = directories[pick(directories.size())];
        entry.oldName = changed(entry.oldName);
        entry.newName = pick(3) == 0 ? entry.oldName : changed(entry.newName);
        entry.identity = { pick(10) == 0 ? number(entry.identity.device) : entry.identity.device,
            number(entry.identity.inode), number(entry.identity.birthNs) };
        // Some entries on a volume without stable inode numbers, told by what they are.
        if (pick(3) == 0) {
            entry.identity.stableNumbers = false;
            entry.identity.type = pick(2) == 0 ? 0100000U : 0040000U;
            entry.identity.size = number(entries.empty() ? 0 : entries.back().identity.size);
            entry.identity.mtimeNs = static_cast<std::int64_t>(number(
                static_cast<std::uint64_t>(entries.empty() ? 0 : entries.back().identity.mtimeNs)));
        }
        entry.caseChange = pick(2) == 0;
        entries.push_back(entry);
    }

    std::string bytes(engine::kJournalMagic);
    JournalEncoder encoder;
    JournalEncoder::header(bytes, engine::JournalKind::Run, 0, "/m/", "");
    for (const auto& planned : entries)
        encoder.plannedEntry(bytes, planned);
    encoder.finishEntries(bytes);
    JournalEncoder::start(bytes);

    const auto contents = engine::decodeJournal(bytes);
    ASSERT_TRUE(contents);
    EXPECT_FALSE(contents->torn);
    EXPECT_TRUE(contents->started);
    ASSERT_EQ(contents->entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& read = contents->entries[i];
        ASSERT_EQ(read.directory, entries[i].directory) << i;
        ASSERT_EQ(read.oldName, entries[i].oldName) << i;
        ASSERT_EQ(read.newName, entries[i].newName) << i;
        ASSERT_EQ(read.identity, entries[i].identity) << i;
        ASSERT_EQ(read.caseChange, entries[i].caseChange) << i;
    }
}

TEST(JournalFormat, FieldsReachingPastWhatIsKnownAreDamage)
{
    // Each record passes its checksum but refers to what is not there: read as a torn
    // tail, never out of bounds.
    const std::string head = std::string(engine::kJournalMagic)
        + framed("HR" + u64(0) + text("/m/") + text("")) + framed("P" + text("/m/"));
    const std::string oneEntry = "B"
        + std::string("\x02\x00\x00\x00\x01"
                      "a\x00\x00\x01"
                      "b\x02\x00",
            12);
    const std::vector<std::string> damaged {
        "B" + std::string("\x02\x05", 2), // a directory number no path record gave
        "B" + std::string("\x00\x00\x00\x00\x00\x00\x00\x00\x00", 9), // no directory yet
        "B" + std::string("\x02\x00\x01\x00\x00", 5), // a start longer than the name before
        "B"
            + std::string("\x02\x00\x00\x00\x09"
                          "a",
                6), // a middle longer than the record
        "B" + std::string("\x02\x00\x00\x00\x00\x00\x00\x00\x80", 9), // a cut-off number
        "B" + std::string("\x10", 1), // a flag no version knows
        "R" + u64(0) + u64(2), // more done than planned
        "R" + u64(1) + u64(0), // an empty run
        "R" + u64(~std::uint64_t { 0 }) + u64(2), // a run that wraps around
    };
    const auto good
        = engine::decodeJournal(head + framed(oneEntry) + framed("R" + u64(0) + u64(1)));
    ASSERT_TRUE(good);
    ASSERT_FALSE(good->torn);
    ASSERT_EQ(good->entries.size(), 1U);
    EXPECT_EQ(good->entries[0].oldName, "a");
    EXPECT_EQ(good->entries[0].newName, "b");
    EXPECT_EQ(good->entries[0].identity.inode, 1U);
    EXPECT_TRUE(good->progress[0].done);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const std::string plan = damaged[i].starts_with('R') ? framed(oneEntry) : "";
        const auto contents = engine::decodeJournal(head + plan + framed(damaged[i]));
        ASSERT_TRUE(contents) << i;
        EXPECT_TRUE(contents->torn) << i;
        EXPECT_EQ(contents->entries.size(), plan.empty() ? 0U : 1U) << i;
        if (!plan.empty()) {
            EXPECT_FALSE(contents->progress[0].done) << i;
        }
    }
}

} // namespace
} // namespace quorvane::test
