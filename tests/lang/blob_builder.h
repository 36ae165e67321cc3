// Builds LANG_CONSTS blobs byte by byte for the resource tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane::lang::test {

/// A blob under construction: flag byte and count first, then entries as added.
struct BlobBuilder
{
    std::vector<std::uint8_t> bytes;

    explicit BlobBuilder(std::int32_t count, std::uint8_t flag = 1)
    {
        bytes.push_back(flag);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> shift));
    }

    /// Appends a length-prefixed string given as raw (Windows-1252) bytes.
    BlobBuilder& str(std::string_view raw)
    {
        bytes.push_back(static_cast<std::uint8_t>(raw.size() & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(raw.size() >> 8));
        bytes.insert(bytes.end(), raw.begin(), raw.end());
        return *this;
    }

    BlobBuilder& entry(std::string_view name, std::string_view text) { return str(name).str(text); }
};

} // namespace quorvane::lang::test
