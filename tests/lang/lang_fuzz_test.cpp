// Random and mutated inputs for the language-file parser and the LangData reader: each
// must either succeed or throw ELangError, never crash. Quick enough for every CI run and
// the sanitizer build.
#include "lang/lang_entries.h"
#include "lang/lang_error.h"
#include "lang/lang_file.h"
#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <random>

using namespace quorvane::lang;

namespace {

constexpr int kRounds = 20000;

template<typename Bytes>
void mutate(Bytes& bytes, std::mt19937& random)
{
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const std::size_t at = random() % bytes.size();
        switch (random() % 4) {
        case 0:
            bytes[at] = static_cast<typename Bytes::value_type>(random() % 256);
            break;
        case 1:
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 2:
            bytes.insert(
                bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes[random() % bytes.size()]);
            break;
        default:
            bytes.resize(at);
            break;
        }
    }
}

} // namespace

TEST(LangFuzz, ParserSurvivesMutatedAndRandomFiles)
{
    const std::string seed = "LANGID=1033\r\n; c\n[$CONSTANTS]\nDOPO=After\\n\\65\\\\\n"
                             "[$ADDED]\nRUN_SALTA=Skip\n[Form1]\n27=a\\nb\n0003=c=d\n[x\n[]\n";
    std::mt19937 random(20240607);
    int parsed = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes = seed;
        if (round % 8 == 0) {
            bytes.resize(random() % 64);
            for (char& c : bytes)
                c = static_cast<char>("[]=;\\\r\n$ A1n"[random() % 13]);
        } else {
            mutate(bytes, random);
        }
        TLang_CompTranslations set;
        try {
            parseLanguageText(quorvane::platform::decodeTextFile(bytes), set, round % 5 == 0);
            ++parsed;
            (void)set.langId();
        } catch (const ELangError&) { }
    }
    EXPECT_GT(parsed, kRounds / 4); // the mutations reach the parse, not only its errors
}

TEST(LangFuzz, LangDataReaderSurvivesMutatedAndRandomValues)
{
    TLang_CompEntry root("Form1");
    root.properties = std::make_unique<TLang_PropEntries>();
    root.properties->insert({ 1, "Caption", {}, false });
    root.addChild("Panel1").addChild("Button1").properties = std::make_unique<TLang_PropEntries>();
    root.children->at(0)->children->at(0)->properties->insert({ 2, "Hint", {}, false });
    const std::vector<std::uint8_t> seed = writeLangData(root);
    std::mt19937 random(7);
    int read = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::uint8_t> bytes = seed;
        if (round % 8 == 0) {
            bytes.resize(random() % 48);
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(random() % 4 == 0 ? random() % 256 : random() % 3);
        } else {
            mutate(bytes, random);
        }
        try {
            const auto tree = readLangData(bytes);
            ++read;
            // What was read can be written and read again to the same tree.
            EXPECT_EQ(writeLangData(*readLangData(writeLangData(*tree))), writeLangData(*tree));
        } catch (const ELangError&) { }
    }
    EXPECT_GT(read, 0);
}
