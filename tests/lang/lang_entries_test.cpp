// Tests of the form-entry tree: LangData, masks, binding, capture, update and applying.
#include "lang/lang_entries.h"
#include "lang/lang_error.h"
#include "lang/lang_file.h"

#include <gtest/gtest.h>

#include <map>

using namespace quorvane::lang;

namespace {

/// A component of a fake form: a name, owned components and text properties by path.
struct Fake
{
    std::string name;
    std::vector<std::pair<std::string, std::u32string>> props;
    std::vector<Fake*> owned;
};

class FakeModel : public LangComponentModel
{
public:
    std::string nameOf(LangHandle c) const override { return fake(c).name; }
    std::vector<LangHandle> ownedBy(LangHandle c) const override
    {
        return { fake(c).owned.begin(), fake(c).owned.end() };
    }
    std::vector<LangPropertyValue> properties(LangHandle c) const override
    {
        std::vector<LangPropertyValue> out;
        for (const auto& [path, value] : fake(c).props)
            out.push_back({ path, value, true });
        return out;
    }
    void setText(LangHandle c, std::string_view path, std::u32string_view text) override
    {
        for (auto& [p, value] : const_cast<Fake&>(fake(c)).props) {
            if (p == path)
                value = text;
        }
    }

private:
    static const Fake& fake(LangHandle c) { return *static_cast<const Fake*>(c); }
};

std::u32string text(const Fake& c, const std::string& path)
{
    for (const auto& [p, value] : c.props) {
        if (p == path)
            return value;
    }
    return U"<none>";
}

std::unique_ptr<TLang_CompEntry> previewTree()
{
    auto root = std::make_unique<TLang_CompEntry>("Preview");
    root->properties = std::make_unique<TLang_PropEntries>();
    root->properties->insert({ 2, "Font.Name", {}, false });
    root->properties->insert({ 1, "Caption", {}, false });
    root->addChild("StringGrid1");
    root->addChild("Panel1");
    auto& button = root->addChild("Button1");
    button.properties = std::make_unique<TLang_PropEntries>();
    button.properties->insert({ 3, "Caption", {}, false });
    return root;
}

struct MaskCase
{
    const char* mask;
    const char* subject;
    bool matches;
};

class MaskMatch : public testing::TestWithParam<MaskCase>
{
};

} // namespace

TEST(LangEntries, PreviewLangDataIsTheHundredBytesOfItsLayout)
{
    const auto bytes = writeLangData(*previewTree());
    ASSERT_EQ(bytes.size(), 100U);
    const std::vector<std::uint8_t> head { 7, 0, 'P', 'r', 'e', 'v', 'i', 'e', 'w', 1, 2, 0, 0, 0,
        1, 0, 0, 0, 7, 0, 'C', 'a', 'p', 't', 'i', 'o', 'n', 2, 0, 0, 0, 9, 0 };
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    const std::vector<std::uint8_t> tail { 7, 0, 'B', 'u', 't', 't', 'o', 'n', '1', 1, 1, 0, 0, 0,
        3, 0, 0, 0, 7, 0, 'C', 'a', 'p', 't', 'i', 'o', 'n', 0 };
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - 28));
    // Read back and written again: the same bytes.
    EXPECT_EQ(writeLangData(*readLangData(bytes)), bytes);
}

TEST(LangEntries, MalformedLangDataIsRefused)
{
    const auto good = writeLangData(*previewTree());
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_THROW((void)readLangData({ good.data(), cut }), ELangError) << cut;
    auto negative = good;
    negative[10] = 0xFF; // property count's low byte
    negative[13] = 0xFF;
    EXPECT_THROW((void)readLangData(negative), ELangError);
    auto huge = good;
    huge[12] = 0x7F; // a count far beyond the bytes there are
    EXPECT_THROW((void)readLangData(huge), ELangError);
    auto repeatedId = good;
    repeatedId[27] = 1; // Font.Name's ID becomes 1, Caption's
    EXPECT_THROW((void)readLangData(repeatedId), ELangError);
    // A chain nested deeper than any form.
    std::vector<std::uint8_t> deep;
    for (int i = 0; i < 100; ++i)
        deep.insert(deep.end(), { 1, 0, 'A', 0, 1, 1, 0, 0, 0 });
    EXPECT_THROW((void)readLangData(deep), ELangError);
}

TEST_P(MaskMatch, FollowsFileNamePatterns)
{
    EXPECT_EQ(TLang_MaskList::matchMask(GetParam().mask, GetParam().subject), GetParam().matches)
        << GetParam().mask << " / " << GetParam().subject;
}

INSTANTIATE_TEST_SUITE_P(LangEntries, MaskMatch,
    testing::Values(MaskCase { "*.Font.Name", ".Font.Name", true },
        MaskCase { "*.Font.Name", "Label1.font.name", true },
        MaskCase { "*.Font.Name", "Label1.Font.Names", false },
        MaskCase { "*.Caption", "A.Caption.Caption", true },
        MaskCase { "?abel1*", "Label12", true }, MaskCase { "?abel1", "abel1", false },
        MaskCase { "[a-c]*", "Button1", true }, MaskCase { "[!a-c]*", "Button1", false },
        MaskCase { "[!a-c]*", "Edit1", true }, MaskCase { "Panels[[]0]*", "Panels[0].Text", true },
        MaskCase { "[abc", "a", false }, MaskCase { "*", "", true }, MaskCase { "*?", "", false }));

TEST(LangEntries, BindCaptureApplyAndBackToTheDefaults)
{
    Fake button { "BUTTON1", { { "Caption", U"Chiudi" }, { "Hint", U"" } }, {} };
    Fake panel { "Panel1", {}, {} };
    Fake form { "Preview", { { "Caption", U"Anteprima" }, { "Font.Name", U"Sans" } },
        { &panel, &button } };
    FakeModel model;
    auto tree = readLangData(writeLangData(*previewTree()));
    tree->bind(&form, model);
    // StringGrid1 does not exist: its entry goes; the others are bound, names case-blind.
    ASSERT_TRUE(tree->children);
    ASSERT_EQ(tree->children->size(), 2U);
    EXPECT_EQ(tree->children->at(1)->componentPath(&model), "BUTTON1");
    EXPECT_TRUE(tree->children->at(1)->storedName().empty());

    tree->capture(model, TLang_MaskList({ "*.Font.Name" }), {}, true);
    EXPECT_EQ(tree->properties->find("caption")->defaultText, U"Anteprima");
    EXPECT_TRUE(tree->properties->find("Font.Name")->defaultText.empty()); // ignored

    TLang_CompTranslation english("preview");
    english.add(3, U"Close");
    english.add(1, U"Preview");
    english.add(99, U"no such entry");
    button.props[0].second = U"set by code"; // overwritten at the switch
    tree->apply(model, &english);
    EXPECT_EQ(text(form, "Caption"), U"Preview");
    EXPECT_EQ(text(button, "Caption"), U"Close");
    EXPECT_EQ(text(form, "Font.Name"), U""); // entered, not captured: its default is empty
    form.props[1].second = U"Sans";

    TLang_CompTranslation partial("Preview");
    partial.add(3, U"Schliessen");
    tree->apply(model, &partial);
    EXPECT_EQ(text(form, "Caption"), U"Anteprima"); // missing ID: the default
    EXPECT_EQ(text(button, "Caption"), U"Schliessen");
    tree->apply(model, nullptr);
    EXPECT_EQ(text(button, "Caption"), U"Chiudi");

    EXPECT_TRUE(tree->removeComponent(&button));
    EXPECT_FALSE(tree->removeComponent(&button));
    button.props[0].second = U"gone";
    tree->apply(model, &english);
    EXPECT_EQ(text(button, "Caption"), U"gone");
}

TEST(LangEntries, UpdateNumbersNewPropertiesAfterTheLargestAndDropsStaleOnes)
{
    Fake label { "Label1", { { "Caption", U"Nome" }, { "Hint", U"" } }, {} };
    Fake unnamed { "", { { "Caption", U"x" } }, {} };
    Fake form { "Sort", { { "Caption", U"Ordine" }, { "Font.Name", U"Sans" } },
        { &unnamed, &label } };
    FakeModel model;
    TLang_CompEntry root("Sort");
    root.properties = std::make_unique<TLang_PropEntries>();
    root.properties->insert({ 5, "Caption", {}, false });
    root.properties->insert({ 7, "Gone", {}, false });
    root.bind(&form, model);
    root.update(model, TLang_MaskList({ "*.Font.Name", "*.font.name" }), {}, true);
    EXPECT_EQ(root.properties->items().size(), 1U);
    EXPECT_EQ(root.properties->find("Caption")->id, 5);
    ASSERT_TRUE(root.children);
    ASSERT_EQ(root.children->size(), 1U); // the unnamed component gets none
    const TLang_PropEntry* caption = root.children->at(0)->properties->find("Caption");
    EXPECT_EQ(caption->id, 8);
    EXPECT_EQ(caption->defaultText, U"Nome");
    EXPECT_EQ(
        root.children->at(0)->properties->items().size(), 1U); // the empty Hint is not entered

    // Without the ignore mask the form's font name is entered with the next ID.
    root.update(model, {}, {}, true);
    EXPECT_EQ(root.properties->find("Font.Name")->id, 9);
    const auto bytes = writeLangData(root, &model);
    EXPECT_EQ(readLangData(bytes)->children->at(0)->storedName(), "Label1");
}
