// The entry tree of a translatable form: which texts of which components a language file
// may replace, under which IDs; its LangData layout and its binding to live components.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::lang {

class TLang_CompTranslation;

/// A live component as the tree sees it. The GUI hands out opaque handles and answers for
/// them; the tree never looks inside one.
using LangHandle = const void*;

/// One text property met while a component's properties are walked.
struct LangPropertyValue
{
    std::string path; ///< "Caption", "Items", "Panels[0].Text", "Font.Name" ...
    std::u32string value; ///< the text now (a string list as lines, each ending in CR LF)
    bool stored = true; ///< stored with the form, so it takes part without a store mask
};

/// What the tree needs from the components of a form.
class LangComponentModel
{
public:
    virtual ~LangComponentModel() = default;
    /// The component's name (ASCII).
    [[nodiscard]] virtual std::string nameOf(LangHandle component) const = 0;
    /// The components it owns, in ownership order, named or not; controllers excluded.
    [[nodiscard]] virtual std::vector<LangHandle> ownedBy(LangHandle component) const = 0;
    /// Its text properties in declaration order, without "Name".
    [[nodiscard]] virtual std::vector<LangPropertyValue> properties(LangHandle component) const = 0;
    /// Writes a text into the property; a string list is split into lines at line breaks.
    /// A path that names no property of the component is left alone.
    virtual void setText(LangHandle component, std::string_view path, std::u32string_view text) = 0;
};

/// Compiled file-name masks: "*", "?", "[a-z]" and "[!...]", letter case ignored.
class TLang_MaskList
{
public:
    TLang_MaskList() = default;
    explicit TLang_MaskList(std::vector<std::string> masks);
    [[nodiscard]] bool matches(std::string_view subject) const;
    [[nodiscard]] static bool matchMask(std::string_view mask, std::string_view subject);

private:
    std::vector<std::string> m_masks;
};

struct TLang_PropEntry
{
    std::int32_t id = 0; ///< > 0, unique within the tree
    std::string path; ///< relative to the entry's component
    std::u32string defaultText;
    bool valid = false; ///< work flag of the update
};

/// The property entries of one component, in ascending path order without regard to case.
class TLang_PropEntries
{
public:
    /// Inserts an entry; false (and nothing changes) when the path is already there.
    bool insert(TLang_PropEntry entry);
    [[nodiscard]] TLang_PropEntry* find(std::string_view path);
    [[nodiscard]] const TLang_PropEntry* find(std::string_view path) const;
    [[nodiscard]] std::vector<TLang_PropEntry>& items() { return m_items; }
    [[nodiscard]] const std::vector<TLang_PropEntry>& items() const { return m_items; }

private:
    std::vector<TLang_PropEntry> m_items;
};

/// A node of the tree: the form itself at the root, one of its components below.
class TLang_CompEntry
{
public:
    explicit TLang_CompEntry(std::string storedName = {}, TLang_CompEntry* parent = nullptr)
        : m_storedName(std::move(storedName))
        , m_parent(parent)
    { }

    LangHandle component = nullptr;
    std::unique_ptr<TLang_PropEntries> properties; ///< none when the component has no entry
    std::unique_ptr<std::vector<std::unique_ptr<TLang_CompEntry>>> children;

    [[nodiscard]] const std::string& storedName() const { return m_storedName; }
    [[nodiscard]] TLang_CompEntry* parent() const { return m_parent; }
    /// The bound component's name, or the stored name while unbound.
    [[nodiscard]] std::string name(const LangComponentModel* model) const;
    /// Empty for the root; the parent's path, ".", and the name otherwise.
    [[nodiscard]] std::string componentPath(const LangComponentModel* model) const;
    /// Appends a child (creating the list).
    TLang_CompEntry& addChild(std::string storedName);
    /// The largest ID in this entry and below, 0 when there is none.
    [[nodiscard]] std::int32_t largestId() const;

    /// Binds this entry to `target` and its children, by name, to the components it owns;
    /// a child whose component does not exist is deleted with everything under it.
    void bind(LangHandle target, const LangComponentModel& model);
    /// Records the current texts as defaults for the entries there are; adds nothing.
    void capture(const LangComponentModel& model, const TLang_MaskList& ignore,
        const TLang_MaskList& store, bool ignoreEmpty);
    /// Brings the entries to the properties there are now, giving new ones the next IDs.
    void update(const LangComponentModel& model, const TLang_MaskList& ignore,
        const TLang_MaskList& store, bool ignoreEmpty);
    /// Writes the translation's text (or the default) into every entered property.
    void apply(LangComponentModel& model, const TLang_CompTranslation* translation) const;
    /// Deletes the entry bound to `target`, wherever it is; true when one was found.
    bool removeComponent(LangHandle target);

    /// Calls `visit(entry)` for this entry and every entry below, depth first.
    template<typename Visit>
    void forEach(Visit&& visit) const
    {
        visit(*this);
        if (children) {
            for (const auto& child : *children)
                child->forEach(visit);
        }
    }

private:
    void updateEntry(const LangComponentModel& model, const TLang_MaskList& ignore,
        const TLang_MaskList& store, bool ignoreEmpty, std::int32_t& nextId);
    TLang_CompEntry* childBoundTo(LangHandle target) const;

    std::string m_storedName;
    TLang_CompEntry* m_parent = nullptr;
};

/// Reads a LangData value into an unbound tree. Throws ELangError for a truncated or
/// malformed value (a count that cannot fit, an ID of 0 or less or used twice, a path
/// repeated within one component, nesting deeper than any form).
[[nodiscard]] std::unique_ptr<TLang_CompEntry> readLangData(std::span<const std::uint8_t> data);

/// The LangData value of the tree (names of bound entries from the model).
[[nodiscard]] std::vector<std::uint8_t> writeLangData(
    const TLang_CompEntry& root, const LangComponentModel* model = nullptr);

} // namespace quorvane::lang
