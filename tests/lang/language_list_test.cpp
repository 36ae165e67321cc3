// Tests of the manager's language list and of switching between languages.
#include "blob_builder.h"
#include "lang/lang_error.h"
#include "lang/language_manager.h"
#include "platform/posix_file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace quorvane::lang;

namespace {

/// A registered form that records what it was given.
struct RecordingForm : LangTranslatable
{
    std::string name = "Form1";
    std::vector<std::u32string> applied; ///< the text of ID 1, or "-" for none
    std::string formName() const override { return name; }
    void applyTranslation(const TLang_CompTranslation* translation) override
    {
        const std::u32string* text = translation != nullptr ? translation->find(1) : nullptr;
        applied.push_back(text != nullptr ? *text : U"-");
    }
};

class LanguageList : public testing::Test
{
protected:
    LanguageList()
        : manager(
            test::BlobBuilder(2).entry("CANT_CHECK", "Impossibile").entry("DOPO", "Dopo").bytes)
    {
        manager.SetBaseLanguage(1040);
    }

    int scan() { return manager.FindLanguageFiles(fs, dir.path(), U"*.lng", false); }

    quorvane::test::TempDir dir;
    quorvane::platform::PosixFileSystem fs;
    TLanguageManager manager;
};

} // namespace

TEST_F(LanguageList, ScanTakesFilesInNameOrderAndSkipsThoseWithoutLangId)
{
    dir.file("c.lng", "LANGID=1036\n[Form1]\n1=x\n1=y\n"); // a section error passes the scan
    dir.file("a.lng", "LANGID=1031\n");
    dir.file("b.LNG", "LANGID=3082\n");
    dir.file("d.lng", "LANGID=abc\n");
    dir.file("e.lng", "LANGID=1040\n"); // Italian: found, not listed
    dir.file("f.txt", "LANGID=1033\n");
    dir.file("sub/g.lng", "LANGID=1049\n"); // a directory is seen only when it matches
    dir.file("more.lng/h.lng", "LANGID=1049\n");
    EXPECT_EQ(scan(), 4);
    ASSERT_EQ(manager.CountLanguages(), 4);
    EXPECT_EQ(manager.LanguageIdAt(0), 1040);
    EXPECT_EQ(manager.LanguageIdAt(1), 1031);
    EXPECT_EQ(manager.LanguageIdAt(2), 3082);
    EXPECT_EQ(manager.LanguageIdAt(3), 1036);
    EXPECT_THROW((void)manager.LanguageIdAt(4), std::out_of_range);
    EXPECT_THROW((void)manager.LanguageIdAt(-1), std::out_of_range);
    EXPECT_EQ(manager.LanguageTitleAt(1), U"German");
    manager.setLanguageNamer([](std::uint16_t id) { return id == 1031 ? U"Deutsch" : U""; });
    EXPECT_EQ(manager.LanguageTitleAt(1), U"Deutsch");
    EXPECT_EQ(manager.LanguageTitleAt(3), U"French");
    EXPECT_EQ(manager.FindLanguageFiles(fs, dir.path(), U"*.lng", true), 5); // with more.lng/
    EXPECT_EQ(manager.LanguageIdAt(4), 1049);
    EXPECT_FALSE(manager.AddLanguageFile(dir / "missing.lng"));
}

TEST_F(LanguageList, LaterFileOfTheSameLanguageKeepsThePlace)
{
    dir.file("a.lng", "LANGID=1036\n[$CONSTANTS]\nDOPO=Apres\n");
    dir.file("b.lng", "LANGID=1031\n");
    dir.file("c.lng", "LANGID=1036\n[$CONSTANTS]\nDOPO=Ensuite\n");
    EXPECT_EQ(scan(), 3);
    ASSERT_EQ(manager.CountLanguages(), 3);
    EXPECT_EQ(manager.LanguageIdAt(1), 1036);
    manager.SwitchLanguage(1036);
    EXPECT_EQ(manager.lookupConstant("DOPO"), U"Ensuite");
}

TEST_F(LanguageList, SwitchingReachesConstantsAndFormsAndBackRestores)
{
    dir.file("en.lng",
        "LANGID=1033\n[$CONSTANTS]\nCANT_CHECK=Cannot check\nDOPO=After\n"
        "[$ADDED]\nRUN_SALTA=Skip\n[FORM1]\n1=Main\n");
    dir.file("de.lng", "LANGID=1031\n[$CONSTANTS]\nDOPO=Nachher\n");
    ASSERT_EQ(scan(), 2);
    RecordingForm form;
    RecordingForm other;
    other.name = "AboutBox";
    manager.AttachController(&form);
    manager.AttachController(&other);

    manager.SwitchLanguage(1040); // from the start value 1033 to the base: defaults
    EXPECT_EQ(form.applied, std::vector<std::u32string>({ U"-" }));
    manager.SwitchLanguage(1040); // already in force: nothing applied
    EXPECT_EQ(form.applied.size(), 1U);

    manager.SwitchLanguage(1033);
    EXPECT_EQ(manager.CurrentLanguage(), 1033);
    EXPECT_EQ(manager.lookupConstant("cant_check"), U"Cannot check");
    EXPECT_EQ(manager.lookupAdded("RUN_SALTA"), U"Skip");
    EXPECT_EQ(form.applied.back(), U"Main");
    EXPECT_EQ(other.applied.back(), U"-");

    manager.SwitchLanguage(1031); // lacks CANT_CHECK: it keeps the English text
    EXPECT_EQ(manager.lookupConstant("CANT_CHECK"), U"Cannot check");
    EXPECT_EQ(manager.lookupConstant("DOPO"), U"Nachher");

    manager.SwitchLanguage(4242); // unknown: the base language
    EXPECT_EQ(manager.CurrentLanguage(), 1040);
    EXPECT_EQ(manager.lookupConstant("CANT_CHECK"), U"Impossibile");
    EXPECT_EQ(manager.lookupConstant("DOPO"), U"Dopo");
    EXPECT_EQ(manager.lookupAdded("RUN_SALTA"), U"Salta");
    EXPECT_EQ(form.applied.back(), U"-");
    manager.DetachController(&other);
    manager.DetachController(&form);
}

TEST_F(LanguageList, BrokenFileFailsTheSwitchAndChangesNothing)
{
    dir.file("en.lng", "LANGID=1033\n[$CONSTANTS]\nDOPO=After\n");
    dir.file("fr.lng", "LANGID=1036\n[$CONSTANTS]\nDOPO=Apres\nDOPO=Encore\n");
    ASSERT_EQ(scan(), 2);
    RecordingForm form;
    manager.AttachController(&form);
    manager.SwitchLanguage(1040);
    manager.SwitchLanguage(1033);
    const auto appliedBefore = form.applied.size();
    bool failed = false;
    try {
        manager.SwitchLanguage(1036);
    } catch (const ELangError& e) {
        failed = true;
        EXPECT_STREQ(
            e.what(), "Loading translations failed.\r\nLine 3: Duplicate constant name (\"DOPO\")");
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(manager.CurrentLanguage(), 1033);
    EXPECT_EQ(manager.lookupConstant("DOPO"), U"After");
    EXPECT_EQ(form.applied.size(), appliedBefore);
    manager.DetachController(&form);
}

TEST_F(LanguageList, NewFormGetsTheLanguageInForceOnly)
{
    dir.file("en.lng", "LANGID=1033\n[Form1]\n1=Main\n");
    ASSERT_EQ(scan(), 1);
    RecordingForm form;
    manager.TranslateNewForm(form); // 1033 is in force but the base is 1040: the file's text
    EXPECT_EQ(form.applied, std::vector<std::u32string>({ U"Main" }));
    manager.SwitchLanguage(1040);
    manager.TranslateNewForm(form); // base language: nothing to apply
    EXPECT_EQ(form.applied.size(), 1U);
}
