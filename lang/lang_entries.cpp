// The entry tree of a translatable form, its LangData layout and its binding.
#include "lang_entries.h"

#include "lang_constants.h"
#include "lang_error.h"
#include "lang_file.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <utility>

namespace quorvane::lang {

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

/// Matches one bracketed list at mask[pos] ("[" already seen at pos) against c. Returns
/// the position after "]", or npos when the list is not closed.
std::size_t matchList(std::string_view mask, std::size_t pos, char c, bool& matched)
{
    ++pos;
    bool negate = false;
    if (pos < mask.size() && mask[pos] == '!') {
        negate = true;
        ++pos;
    }
    bool found = false;
    const char u = upper(c);
    while (pos < mask.size() && mask[pos] != ']') {
        const char low = upper(mask[pos]);
        if (pos + 2 < mask.size() && mask[pos + 1] == '-' && mask[pos + 2] != ']') {
            const char high = upper(mask[pos + 2]);
            found = found || (u >= low && u <= high);
            pos += 3;
        } else {
            found = found || u == low;
            ++pos;
        }
    }
    if (pos >= mask.size())
        return std::string_view::npos;
    matched = found != negate;
    return pos + 1;
}

bool matchFrom(std::string_view mask, std::string_view text)
{
    // Backtracking on the last "*" only: linear enough for the short masks forms use.
    std::size_t m = 0;
    std::size_t t = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starText = 0;
    while (t < text.size()) {
        bool step = false;
        std::size_t nextMask = m + 1;
        if (m < mask.size()) {
            if (mask[m] == '*') {
                starMask = m++;
                starText = t;
                continue;
            }
            if (mask[m] == '?') {
                step = true;
            } else if (mask[m] == '[') {
                nextMask = matchList(mask, m, text[t], step);
                if (nextMask == std::string_view::npos)
                    return false;
            } else {
                step = upper(mask[m]) == upper(text[t]);
            }
        }
        if (step) {
            m = nextMask;
            ++t;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool lessPath(const TLang_PropEntry& entry, std::string_view path)
{
    return TLang_Constants::compareNames(entry.path, path) < 0;
}

bool takesPart(const LangPropertyValue& property, const std::string& subject,
    const TLang_MaskList& ignore, const TLang_MaskList& store)
{
    if (ignore.matches(subject))
        return false;
    return property.stored || store.matches(subject);
}

std::string subjectOf(const std::string& componentPath, const std::string& propertyPath)
{
    return componentPath + "." + propertyPath;
}

// The deepest form the program has nests three levels; a value deeper than this is not a
// form's and must not exhaust the stack while it is read.
constexpr int kMaxDepth = 32;

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> data)
        : m_data(data)
    { }

    std::unique_ptr<TLang_CompEntry> entry(TLang_CompEntry* parent, int depth)
    {
        if (depth > kMaxDepth)
            fail("nested too deeply");
        auto node = std::make_unique<TLang_CompEntry>(string(), parent);
        if (byte() != 0) {
            node->properties = std::make_unique<TLang_PropEntries>();
            const std::int32_t count = countOf(6);
            for (std::int32_t i = 0; i < count; ++i) {
                const std::int32_t id = int32();
                if (id <= 0 || !m_ids.insert(id).second)
                    fail("property ID " + std::to_string(id) + " is not positive or repeated");
                if (!node->properties->insert({ id, string(), {}, false }))
                    fail("property path repeated");
            }
        }
        if (byte() != 0) {
            node->children = std::make_unique<std::vector<std::unique_ptr<TLang_CompEntry>>>();
            const std::int32_t count = countOf(4);
            for (std::int32_t i = 0; i < count; ++i)
                node->children->push_back(entry(node.get(), depth + 1));
        }
        return node;
    }

    [[nodiscard]] bool atEnd() const { return m_pos == m_data.size(); }

private:
    [[noreturn]] static void fail(const std::string& what)
    {
        throw ELangError("Invalid LangData: " + what);
    }

    void need(std::size_t bytes) const
    {
        if (m_data.size() - m_pos < bytes)
            fail("truncated");
    }

    std::uint8_t byte()
    {
        need(1);
        return m_data[m_pos++];
    }

    std::int32_t int32()
    {
        need(4);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(m_data[m_pos++]) << (8 * i);
        return static_cast<std::int32_t>(value);
    }

    /// A count whose items take at least `minItemBytes` each: one that the rest of the
    /// value cannot hold is refused before anything is allocated for it.
    std::int32_t countOf(std::size_t minItemBytes)
    {
        const std::int32_t count = int32();
        if (count < 0 || static_cast<std::size_t>(count) > (m_data.size() - m_pos) / minItemBytes)
            fail("count " + std::to_string(count) + " does not fit");
        return count;
    }

    std::string string()
    {
        need(2);
        const std::size_t length
            = m_data[m_pos] | (static_cast<std::size_t>(m_data[m_pos + 1]) << 8);
        m_pos += 2;
        need(length);
        std::string out(reinterpret_cast<const char*>(m_data.data() + m_pos), length);
        m_pos += length;
        return out;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    std::unordered_set<std::int32_t> m_ids;
};

void appendInt32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFFU));
}

void appendString(std::vector<std::uint8_t>& out, std::string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 0xFFFF);
    out.push_back(static_cast<std::uint8_t>(length & 0xFFU));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void writeEntry(
    std::vector<std::uint8_t>& out, const TLang_CompEntry& entry, const LangComponentModel* model)
{
    appendString(out, entry.name(model));
    out.push_back(entry.properties ? 1 : 0);
    if (entry.properties) {
        appendInt32(out, static_cast<std::int32_t>(entry.properties->items().size()));
        for (const TLang_PropEntry& item : entry.properties->items()) {
            appendInt32(out, item.id);
            appendString(out, item.path);
        }
    }
    out.push_back(entry.children ? 1 : 0);
    if (entry.children) {
        appendInt32(out, static_cast<std::int32_t>(entry.children->size()));
        for (const auto& child : *entry.children)
            writeEntry(out, *child, model);
    }
}

} // namespace

TLang_MaskList::TLang_MaskList(std::vector<std::string> masks)
    : m_masks(std::move(masks))
{
    std::ranges::sort(m_masks, [](const std::string& a, const std::string& b) {
        return TLang_Constants::compareNames(a, b) < 0;
    });
    const auto same = [](const std::string& a, const std::string& b) {
        return TLang_Constants::compareNames(a, b) == 0;
    };
    m_masks.erase(std::unique(m_masks.begin(), m_masks.end(), same), m_masks.end());
}

bool TLang_MaskList::matches(std::string_view subject) const
{
    return std::ranges::any_of(
        m_masks, [&](const std::string& mask) { return matchMask(mask, subject); });
}

bool TLang_MaskList::matchMask(std::string_view mask, std::string_view subject)
{
    return matchFrom(mask, subject);
}

bool TLang_PropEntries::insert(TLang_PropEntry entry)
{
    const auto pos = std::lower_bound(m_items.begin(), m_items.end(), entry.path, lessPath);
    if (pos != m_items.end() && TLang_Constants::compareNames(pos->path, entry.path) == 0)
        return false;
    m_items.insert(pos, std::move(entry));
    return true;
}

TLang_PropEntry* TLang_PropEntries::find(std::string_view path)
{
    return const_cast<TLang_PropEntry*>(std::as_const(*this).find(path));
}

const TLang_PropEntry* TLang_PropEntries::find(std::string_view path) const
{
    const auto pos = std::lower_bound(m_items.begin(), m_items.end(), path, lessPath);
    if (pos != m_items.end() && TLang_Constants::compareNames(pos->path, path) == 0)
        return &*pos;
    return nullptr;
}

std::string TLang_CompEntry::name(const LangComponentModel* model) const
{
    if (component != nullptr && model != nullptr)
        return model->nameOf(component);
    return m_storedName;
}

std::string TLang_CompEntry::componentPath(const LangComponentModel* model) const
{
    if (m_parent == nullptr)
        return {};
    std::string path = m_parent->componentPath(model);
    if (!path.empty())
        path += '.';
    return path + name(model);
}

TLang_CompEntry& TLang_CompEntry::addChild(std::string storedName)
{
    if (!children)
        children = std::make_unique<std::vector<std::unique_ptr<TLang_CompEntry>>>();
    children->push_back(std::make_unique<TLang_CompEntry>(std::move(storedName), this));
    return *children->back();
}

std::int32_t TLang_CompEntry::largestId() const
{
    std::int32_t largest = 0;
    forEach([&](const TLang_CompEntry& entry) {
        if (entry.properties) {
            for (const TLang_PropEntry& item : entry.properties->items())
                largest = std::max(largest, item.id);
        }
    });
    return largest;
}

void TLang_CompEntry::bind(LangHandle target, const LangComponentModel& model)
{
    component = target;
    if (target == nullptr)
        return;
    m_storedName.clear();
    if (!children)
        return;
    const std::vector<LangHandle> owned = model.ownedBy(target);
    for (auto i = children->size(); i-- > 0;) {
        TLang_CompEntry& child = *(*children)[i];
        if (child.m_storedName.empty())
            continue;
        const auto match = std::ranges::find_if(owned, [&](LangHandle c) {
            return TLang_Constants::compareNames(model.nameOf(c), child.m_storedName) == 0;
        });
        if (match != owned.end())
            child.bind(*match, model);
        else
            children->erase(children->begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (children->empty())
        children.reset();
}

TLang_CompEntry* TLang_CompEntry::childBoundTo(LangHandle target) const
{
    if (!children)
        return nullptr;
    for (const auto& child : *children) {
        if (child->component == target)
            return child.get();
    }
    return nullptr;
}

void TLang_CompEntry::capture(const LangComponentModel& model, const TLang_MaskList& ignore,
    const TLang_MaskList& store, bool ignoreEmpty)
{
    if (component == nullptr)
        return;
    const std::string path = componentPath(&model);
    if (properties) {
        for (const LangPropertyValue& property : model.properties(component)) {
            if (!takesPart(property, subjectOf(path, property.path), ignore, store))
                continue;
            if (ignoreEmpty && property.value.empty())
                continue;
            if (TLang_PropEntry* entry = properties->find(property.path))
                entry->defaultText = property.value;
        }
    }
    for (LangHandle owned : model.ownedBy(component)) {
        if (model.nameOf(owned).empty())
            continue;
        if (TLang_CompEntry* child = childBoundTo(owned))
            child->capture(model, ignore, store, ignoreEmpty);
    }
}

void TLang_CompEntry::update(const LangComponentModel& model, const TLang_MaskList& ignore,
    const TLang_MaskList& store, bool ignoreEmpty)
{
    forEach([](const TLang_CompEntry& entry) {
        if (entry.properties) {
            for (TLang_PropEntry& item : entry.properties->items())
                item.valid = false;
        }
    });
    std::int32_t nextId = largestId() + 1;
    updateEntry(model, ignore, store, ignoreEmpty, nextId);
}

void TLang_CompEntry::updateEntry(const LangComponentModel& model, const TLang_MaskList& ignore,
    const TLang_MaskList& store, bool ignoreEmpty, std::int32_t& nextId)
{
    if (component == nullptr)
        return;
    const std::string path = componentPath(&model);
    for (const LangPropertyValue& property : model.properties(component)) {
        if (!takesPart(property, subjectOf(path, property.path), ignore, store))
            continue;
        if (ignoreEmpty && property.value.empty())
            continue;
        if (!properties)
            properties = std::make_unique<TLang_PropEntries>();
        if (TLang_PropEntry* entry = properties->find(property.path)) {
            entry->defaultText = property.value;
            entry->valid = true;
        } else {
            properties->insert({ nextId++, property.path, property.value, true });
        }
    }
    if (properties) {
        std::erase_if(properties->items(), [](const TLang_PropEntry& e) { return !e.valid; });
        if (properties->items().empty())
            properties.reset();
    }
    for (LangHandle owned : model.ownedBy(component)) {
        if (model.nameOf(owned).empty())
            continue;
        TLang_CompEntry* child = childBoundTo(owned);
        if (child == nullptr) {
            child = &addChild({});
            child->component = owned;
        }
        child->updateEntry(model, ignore, store, ignoreEmpty, nextId);
    }
}

void TLang_CompEntry::apply(
    LangComponentModel& model, const TLang_CompTranslation* translation) const
{
    if (component != nullptr && properties) {
        for (const LangPropertyValue& property : model.properties(component)) {
            const TLang_PropEntry* entry = properties->find(property.path);
            if (entry == nullptr)
                continue;
            const std::u32string* text
                = translation != nullptr ? translation->find(entry->id) : nullptr;
            model.setText(component, property.path, text != nullptr ? *text : entry->defaultText);
        }
    }
    if (children) {
        for (const auto& child : *children)
            child->apply(model, translation);
    }
}

bool TLang_CompEntry::removeComponent(LangHandle target)
{
    if (!children)
        return false;
    for (auto it = children->begin(); it != children->end(); ++it) {
        if ((*it)->component == target) {
            children->erase(it);
            if (children->empty())
                children.reset();
            return true;
        }
        if ((*it)->removeComponent(target)) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<TLang_CompEntry> readLangData(std::span<const std::uint8_t> data)
{
    Reader reader(data);
    return reader.entry(nullptr, 0);
}

std::vector<std::uint8_t> writeLangData(
    const TLang_CompEntry& root, const LangComponentModel* model)
{
    std::vector<std::uint8_t> out;
    writeEntry(out, root, model);
    return out;
}

} // namespace quorvane::lang
