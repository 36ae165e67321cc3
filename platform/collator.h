// Locale-aware, case-insensitive ordering of names (ICU, secondary strength).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

/// The collation locale the user chose: LC_ALL, else LC_COLLATE, else LANG, as an ICU
/// locale name ("it_IT.UTF-8" gives "it_IT"; "C", "POSIX" and nothing give "").
[[nodiscard]] std::string userCollationLocale();

/// Compares texts as the user's locale sorts them and as the desktop's file managers show
/// names: ignoring letter case (accents count), runs of digits by their value ("Track2"
/// before "Track10").
class Collator
{
public:
    /// An empty name means the root collation.
    explicit Collator(const std::string& localeName = userCollationLocale());
    ~Collator();
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    /// Negative, zero or positive as a sorts before, with or after b.
    [[nodiscard]] int compare(std::u32string_view a, std::u32string_view b) const;
    /// True when a comes before b in the order sortOrder gives: by compare, and texts it
    /// finds equal by code point.
    [[nodiscard]] bool less(std::u32string_view a, std::u32string_view b) const;

    /// A byte string whose plain byte order equals compare's order; computing keys once
    /// and sorting by them is what makes sorting large lists cheap.
    [[nodiscard]] std::string sortKey(std::u32string_view text) const;
    /// The same key appended to `keys`.
    void appendSortKey(std::u32string_view text, std::string& keys) const;

    /// Writes text `index` of a list into `text` (reused from call to call).
    using TextAt = std::function<void(std::size_t index, std::u32string& text)>;
    /// The order (indices) that sorts `count` texts by this collator; texts it finds equal
    /// ("song.mp3", "Song.mp3") go by code point, so every sort agrees. One key per text,
    /// all in one buffer, then byte comparisons: a million names cost a million keys, not
    /// twenty million collations. Empty as soon as `cancelled` is seen true. The last
    /// `tieCharacters` characters of every text take no part in the collation: they only
    /// order, by code point, texts whose other characters collate equal (an entry's kind
    /// letter after its name).
    [[nodiscard]] std::vector<std::uint32_t> sortOrder(std::size_t count, const TextAt& textAt,
        const std::atomic<bool>* cancelled = nullptr, std::size_t tieCharacters = 0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace quorvane::platform
