// Tests of the manager built from the embedded resource and of LookupConstant.
#include "blob_builder.h"
#include "lang/lang_error.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace quorvane::lang;

TEST(LanguageManager, LooksUpBuiltInTextsWithoutRegardToCase)
{
    EXPECT_EQ(LookupConstant("senza_nome"), U"Senza nome");
    EXPECT_EQ(LookupConstant("Filename"), U"Filename");
    EXPECT_EQ(LookupConstant("CHAR_NUMERAZIONE_NON_VALIDI"),
        U"Hai inserito dei caratteri non validi\r\nnella base di partenza per la "
        U"numerazione\r\nConverto automaticamente il valore in : ");
    EXPECT_EQ(LookupConstant("E_X_DIRS"), U" e %d sottodirectory");
    EXPECT_EQ(LookupConstant("ESEMPIO_MASCHERA"), U"Esempio:  *.tif");
    EXPECT_EQ(LookupConstant("FILE_X_IN_USO"), U"Errore: file %s \u00E8 in uso");
    EXPECT_EQ(LookupConstant("NEW_VERSION"),
        U"E' disponibile una nuova versione:\r\n%s\r\nScaricala da "
            + quorvane::platform::decodeName(QUORVANE_WEB_SITE));

    const std::u32string mailLink = LookupConstant("MAIL_LINK");
    const std::u32string prefix
        = U"mailto:" + quorvane::platform::decodeName(QUORVANE_MAIL_ADDRESS);
    EXPECT_EQ(mailLink.rfind(prefix + U"?Subject=%s&Body=Grazie per aver provato %s !", 0), 0U);
    EXPECT_EQ(mailLink.find(U'@'), mailLink.rfind(U'@'));
    EXPECT_TRUE(mailLink.ends_with(U"Sono ben accette nuove idee suggerimenti!"));

    EXPECT_EQ(formatText(LookupConstant("CAPTION_DONE"), { U"Quorvane 0.99", 12, 0, 1, U"042" }),
        U"Quorvane 0.99 - Ultima operazione: 12 files rinominati in 0 minuti e 1,042 secondi");

    EXPECT_EQ(LangManager().constants().size(), 55U);
    for (const auto& item : LangManager().constants().items())
        EXPECT_EQ(item.text, item.defaultText) << item.name;
}

TEST(LanguageManager, UnknownNameFailsWithItsName)
{
    try {
        (void)LookupConstant("non_esiste");
        FAIL() << "no error";
    } catch (const ELangError& e) {
        EXPECT_STREQ(e.what(), "Constant \"non_esiste\" not found");
    }
    const TLanguageManager empty({});
    EXPECT_EQ(empty.constants().size(), 0U);
    EXPECT_THROW((void)empty.lookupConstant("SENZA_NOME"), ELangError);
    EXPECT_THROW(TLanguageManager(test::BlobBuilder(1).entry("1X", "y").bytes), ELangError);
}

TEST(LanguageManager, LookupTakesTheSharedHold)
{
    TLanguageManager manager(test::BlobBuilder(1).entry("A", "b").bytes);
    std::future<std::u32string> other;
    {
        // The thread that switches languages holds the exclusive hold and may still look up.
        const ExclusiveHold hold(manager.lock());
        EXPECT_EQ(manager.lookupConstant("a"), U"b");
        other = std::async(std::launch::async, [&] { return manager.lookupConstant("A"); });
        EXPECT_EQ(other.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    }
    ASSERT_EQ(other.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(other.get(), U"b");
}
