// The entry list of one directory pass, in the order a run walks it.
#include "rename_run.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"
#include "platform/wildcard.h"

#include <algorithm>

namespace quorvane::engine {

EntryList RenameRun::Make_List_Of_File(std::u32string& directory, bool listOnly, bool preview)
{
    const PassEntries pass = listPass(directory, listOnly, preview);
    EntryList list(pass.size());
    for (std::size_t i = 0; i < pass.size(); ++i)
        pass.entryText(i, list[i]);
    return list;
}

PassEntries RenameRun::listPass(std::u32string& directory, bool listOnly, bool preview)
{
    directory = directoryText(std::move(directory));
    const std::string dirBytes = platform::encodeName(directory);
    const bool wantDirectories = m_scope.recursive || m_scope.renameDirectories;
    // The selection belongs to the file list, which shows the run's own directory only;
    // subdirectory passes take every file of the mask.
    const bool selected
        = !m_scope.selection.empty() && directory == directoryText(m_scope.directory);
    const bool wantFiles = !m_scope.directoriesOnly && !selected;

    // One reading of the directory, entry by entry: what the pass may take, in the
    // system's order. A leading dot marks configuration that other programs look up by its
    // exact name (".gitignore", ".env"): only an explicit selection renames such a file.
    // Symbolic links are entries, never directories: a run never follows one.
    PassEntries listed;
    // A directory's size in bytes is a fair bound of its entries on the common file
    // systems (two dozen bytes or more each for names of eight bytes or more): the listing
    // takes its room at once instead of doubling its way up through a large directory.
    if (const auto status = m_fs.status(dirBytes, platform::Links::Follow); status.ok()) {
        constexpr std::uint64_t kLargestHint = std::uint64_t { 64 } << 20U;
        const std::uint64_t size = std::min(status.value().size, kLargestHint);
        listed.reserve(size / 24, size / 2);
    }
    bool anyDirectory = false;
    const bool everyFile = platform::matchesEveryName(m_scope.mask);
    std::u32string name;
    const platform::Status read = m_fs.visitDirectory(
        dirBytes, platform::Detail::KindOnly, [&](const platform::DirEntry& entry) {
            if (entry.name.starts_with('.'))
                return;
            if (entry.kind == platform::EntryKind::Directory) {
                if (wantDirectories) {
                    listed.add(entry.name, kDirKind, entry.inode);
                    anyDirectory = true;
                }
                return;
            }
            if (!wantFiles)
                return;
            if (!everyFile) {
                platform::decodeName(entry.name, name);
                if (!platform::matchesMask(name, m_scope.mask))
                    return;
            }
            listed.add(entry.name, kFileKind, entry.inode);
        });
    if (!read.ok()) {
        m_summary.unreadable.push_back(read.error());
        m_observer.directoryUnreadable(read.error());
        return {};
    }

    PassEntries pass;
    if (anyDirectory || selected) {
        // Subdirectories first: each subtree is processed before any entry of this
        // directory, and a subdirectory that is renamed comes before the files.
        bool foundFile = false;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (listed.kind(i) != kDirKind)
                continue;
            const std::string_view entryName = listed.nameBytes(i);
            const auto attributes = m_fs.attributes(dirBytes + std::string(entryName));
            if (attributes.ok() && (attributes.value() & platform::kSystem) != 0)
                continue;
            if (m_scope.recursive) {
                Renamer(directory + platform::decodeName(entryName), nullptr, listOnly, preview);
                if (m_summary.stopped)
                    return pass;
            }
            if (m_scope.renameDirectories)
                pass.add(entryName, kDirKind, listed.inode(i));
        }
        if (m_scope.directoriesOnly)
            return pass;
        if (selected) {
            for (const std::u32string& selectedName : m_scope.selection)
                pass.add(platform::encodeName(selectedName), kFileKind, 0);
            return pass;
        }
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (listed.kind(i) == kFileKind) {
                pass.add(listed.nameBytes(i), kFileKind, listed.inode(i));
                foundFile = true;
            }
        }
        if (foundFile)
            sortPass(pass);
        return pass;
    }
    // Files alone: the listing is the pass.
    if (!listed.empty())
        sortPass(listed);
    return listed;
}
bool RenameRun::checkSelection()
{
    // Every selected name must be a file of the run's directory. A name with "/" or ".."
    // would otherwise move an entry from elsewhere into this directory.
    const std::u32string directory = directoryText(m_scope.directory);
    for (const std::u32string& name : m_scope.selection) {
        bool isFile = isAcceptableTypedName(name);
        if (isFile) {
            const auto attributes = m_fs.attributes(platform::encodeName(directory + name));
            isFile = attributes.ok() && (attributes.value() & platform::kDirectoryBit) == 0;
        }
        if (!isFile) {
            m_summary.refused
                = lang::formatText(lang::addedText(lang::added::SELEZIONE_NON_VALIDA), { name });
            m_prompts.tell({ "SELEZIONE_NON_VALIDA", Severity::Error, m_summary.refused });
            return false;
        }
    }
    return true;
}

void RenameRun::sortPass(PassEntries& pass) const
{
    // By the name as the file list shows it; the kind letter that ends every entry only
    // settles a directory and a file whose names collate equal. Collating the letter with
    // the name would put «Track1» after «Track10» («Track1F» against «Track10F»).
    constexpr std::size_t kKindLetter = 1;
    pass.reorder(m_collator.sortOrder(
        pass.size(), [&](std::size_t i, std::u32string& text) { pass.entryText(i, text); }, nullptr,
        kKindLetter));
}

} // namespace quorvane::engine
