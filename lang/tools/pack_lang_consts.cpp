// Build-time tool: packs the readable built-in constants into the LANG_CONSTS blob and a
// C++ source that embeds it.
//
// Usage: pack_lang_consts <source.txt> <out.bin> <out.cpp> <mail address> <web site> [<ids.h>]
// The optional header holds one compile-time id per constant.
#include "lang/lang_constants.h"
#include "platform/name_codec.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quorvane::lang::TLang_Constants;

/// A fault in the source file, reported as file:line so the build log points at it.
struct SourceError : std::runtime_error
{
    SourceError(std::size_t lineNo, const std::string& message)
        : std::runtime_error(message)
        , line(lineNo)
    { }
    std::size_t line;
};

struct Entry
{
    std::string name; // Windows-1252 (ASCII, being an identifier)
    std::string text; // Windows-1252
};

struct Placeholders
{
    std::string mail;
    std::string webSite;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

/// Resolves the escapes \r \n \\ and the placeholders of one text, still in UTF-8.
std::string expandText(std::string_view raw, const Placeholders& values, std::size_t lineNo)
{
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\') {
            const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
            if (next == 'r')
                out.push_back('\r');
            else if (next == 'n')
                out.push_back('\n');
            else if (next == '\\')
                out.push_back('\\');
            else
                throw SourceError(lineNo, R"(unknown escape (only \r, \n and \\ are allowed))");
            ++i;
        } else if (raw.substr(i).starts_with("{MAIL_ADDRESS}")) {
            out += values.mail;
            i += std::string_view("{MAIL_ADDRESS}").size() - 1;
        } else if (raw.substr(i).starts_with("{WEB_SITE}")) {
            out += values.webSite;
            i += std::string_view("{WEB_SITE}").size() - 1;
        } else {
            out.push_back(raw[i]);
        }
    }
    return out;
}

std::string toCp1252(std::string_view utf8, std::size_t lineNo)
{
    if (!quorvane::platform::isValidUtf8(utf8))
        throw SourceError(lineNo, "the line is not valid UTF-8");
    auto encoded = quorvane::platform::encodeCp1252(quorvane::platform::decodeName(utf8));
    if (!encoded)
        throw SourceError(lineNo, "a character has no Windows-1252 form");
    if (encoded->size() > std::numeric_limits<std::uint16_t>::max())
        throw SourceError(lineNo, "longer than 65535 bytes");
    return *encoded;
}

Entry parseLine(std::string_view line, const Placeholders& values, std::size_t lineNo)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        throw SourceError(lineNo, "expected NAME=text");
    const std::string_view name = line.substr(0, equals);
    if (!TLang_Constants::isValidName(name))
        throw SourceError(lineNo, "invalid constant name \"" + std::string(name) + "\"");
    const std::string text = expandText(line.substr(equals + 1), values, lineNo);
    return { toCp1252(name, lineNo), toCp1252(text, lineNo) };
}

std::vector<Entry> parseSource(const std::string& source, const Placeholders& values)
{
    std::vector<Entry> entries;
    std::string_view rest(source);
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    for (std::size_t lineNo = 1; !rest.empty(); ++lineNo) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        Entry entry = parseLine(line, values, lineNo);
        if (!entries.empty()) {
            const int order = TLang_Constants::compareNames(entries.back().name, entry.name);
            if (order == 0)
                throw SourceError(lineNo, "duplicate constant name \"" + entry.name + "\"");
            if (order > 0)
                throw SourceError(lineNo, "\"" + entry.name + "\" is out of table order");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void appendU16(std::vector<std::uint8_t>& out, std::size_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFU));
}

void appendString(std::vector<std::uint8_t>& out, const std::string& bytes)
{
    appendU16(out, bytes.size());
    for (const char c : bytes)
        out.push_back(static_cast<std::uint8_t>(c));
}

std::vector<std::uint8_t> packBlob(const std::vector<Entry>& entries)
{
    std::vector<std::uint8_t> blob { 1 }; // flag byte
    const auto count = static_cast<std::uint32_t>(entries.size());
    for (int shift = 0; shift < 32; shift += 8)
        blob.push_back(static_cast<std::uint8_t>((count >> shift) & 0xFFU));
    for (const Entry& entry : entries) {
        appendString(blob, entry.name);
        appendString(blob, entry.text);
    }
    blob.insert(blob.end(), { 0, 0, 0 });
    return blob;
}

std::string embedSource(const std::vector<std::uint8_t>& blob)
{
    std::ostringstream out;
    out << "// Generated by pack_lang_consts from builtin_constants.txt; do not edit.\n"
           "#include \"lang/constants_resource.h\"\n\n"
           "namespace quorvane::lang {\n\nnamespace {\n\n"
           "constexpr std::uint8_t kLangConsts[] = {";
    for (std::size_t i = 0; i < blob.size(); ++i) {
        out << (i % 16 == 0 ? "\n    " : " ") << static_cast<unsigned>(blob[i]) << ',';
    }
    out << "\n};\n\n} // namespace\n\n"
           "std::span<const std::uint8_t> findResource(std::string_view name)\n{\n"
           "    if (name == \"LANG_CONSTS\")\n        return kLangConsts;\n"
           "    return {};\n}\n\n} // namespace quorvane::lang\n";
    return out.str();
}

std::string idsHeader(const std::vector<Entry>& entries)
{
    std::ostringstream out;
    out << "// Generated by pack_lang_consts from builtin_constants.txt; do not edit.\n"
           "#pragma once\n\n#include \"lang/constant_id.h\"\n\n"
           "namespace quorvane::lang::id {\n\n";
    for (const Entry& entry : entries)
        out << "inline constexpr ConstantId " << entry.name << " { \"" << entry.name << "\" };\n";
    out << "\n} // namespace quorvane::lang::id\n";
    return out.str();
}

/// Leaves an up-to-date file untouched so that its dependants are not rebuilt.
void writeIfChanged(const std::string& path, const std::string& content)
{
    std::ifstream existing(path, std::ios::binary);
    if (existing) {
        const std::string old { std::istreambuf_iterator<char>(existing),
            std::istreambuf_iterator<char>() };
        if (old == content)
            return;
    }
    existing.close();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6 && argc != 7) {
        std::cerr << "usage: pack_lang_consts <source.txt> <out.bin> <out.cpp> <mail> <website>"
                     " [<ids.h>]\n";
        return 2;
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const auto entries = parseSource(readFile(args[0]), { args[3], args[4] });
        const auto blob = packBlob(entries);
        writeIfChanged(args[1], std::string(blob.begin(), blob.end()));
        writeIfChanged(args[2], embedSource(blob));
        if (args.size() == 6)
            writeIfChanged(args[5], idsHeader(entries));
    } catch (const SourceError& e) {
        std::cerr << args[0] << ':' << e.line << ": error: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "pack_lang_consts: error: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
