// The file list's own commands that rename: one file, and the current directory.
#include "file_commands.h"

#include "journal_writer.h"
#include "name_rules.h"
#include "rename_retry.h"
#include "rename_run.h"

#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/case_fold.h"
#include "platform/name_codec.h"

#include <cerrno>

namespace quorvane::engine {

namespace {

std::u32string text(lang::ConstantId constant)
{
    return lang::LookupConstant(constant);
}

/// Whether an entry bears the name. Only a clear "no such entry" counts as free; the rename
/// itself never replaces anything either way.
bool entryExists(const platform::FileSystem& fs, const std::u32string& path)
{
    const auto attributes = fs.attributes(platform::encodeName(path));
    return attributes.ok() || attributes.error().code != ENOENT;
}

/// Says why the file kept its name, so that the next box can be answered: a taken name is
/// named, any other refusal gives its reason.
void tellRefusal(Prompts& prompts, const platform::SysError& error, const std::u32string& target)
{
    if (error.code == EEXIST || error.code == ENOTEMPTY) {
        prompts.tell({ "NOME_GIA_PRESENTE", Severity::Error,
            lang::formatText(lang::addedText(lang::added::NOME_GIA_PRESENTE), { target }) });
        return;
    }
    const bool inUse = error.code == EBUSY || error.code == ETXTBSY;
    prompts.tell(
        { inUse ? "FILE_IN_USO" : "RINOMINA_RIFIUTATA", Severity::Error, retryCaption(error) });
}

/// Journals one rename of `dir` + `from` to `to` before it happens: the plan the first time,
/// a typed name on later attempts. False when it must not happen; `journal` becomes null when
/// the user chose to go on without one.
bool journalOne(JournalWriter*& journal, Prompts& prompts, JournalKind kind, const std::string& dir,
    const std::string& from, const std::string& to)
{
    if (journal == nullptr)
        return true;
    if (journal->active())
        return journal->typed(0, to).ok();
    JournalEntry entry = plannedEntry(dir, from, to);
    entry.caseChange
        = platform::equalsIgnoreCase(platform::decodeName(from), platform::decodeName(to));
    const platform::Status begun = journal->begin(kind, dir, { std::move(entry) });
    if (begun.ok())
        return true;
    if (!proceedWithoutJournal(prompts, begun.error()))
        return false;
    journal = nullptr;
    return true;
}

/// The closing record of a one-entry journal.
void closeOne(JournalWriter* journal, bool renamed)
{
    if (journal != nullptr && journal->active()) {
        if (renamed)
            journal->done(0);
        journal->close(renamed ? 1 : 0, renamed ? 0 : 1);
    }
}

} // namespace

SingleRenameResult renameOneFile(platform::FileSystem& fs, Prompts& prompts,
    const std::u32string& directory, const std::u32string& name, bool dosNames,
    JournalWriter* journal)
{
    const std::u32string prefix = directoryText(directory);
    const std::string prefixBytes = platform::encodeName(prefix);
    const InputRequest request { "RINOMINA_FILE", text(lang::id::RINOMINA_FILE),
        U"Directory: " + directory, name };
    // Cancel answers the file's own name, which ends the loop below.
    std::u32string answer = prompts.input(request).value_or(name);
    for (;;) {
        // The typed text is checked before the forbidden characters are removed: removing
        // the "/" of "../x" would leave a hidden "..x" instead of refusing a move.
        const bool typedSafely = answer.find(U'/') == std::u32string::npos
            && answer.find(U'\0') == std::u32string::npos;
        const std::u32string target = Check_Char_Vietati(answer, dosNames);
        if (target == name && typedSafely) {
            closeOne(journal, false);
            return { false, name };
        }
        if (!typedSafely || !isAcceptableTypedName(target)) {
            prompts.tell({ "CHAR_INVALIDI", Severity::Error, text(lang::id::CHAR_INVALIDI) });
        } else if (!journalOne(journal, prompts, JournalKind::OneFile, prefixBytes,
                       platform::encodeName(name), platform::encodeName(target))) {
            closeOne(journal, false);
            return { false, name };
        } else if (const platform::Status renamed = renameWithSilentRetries(
                       fs, prefixBytes, platform::encodeName(name), platform::encodeName(target));
                   renamed.ok()) {
            closeOne(journal, true);
            return { true, target };
        } else {
            tellRefusal(prompts, renamed.error(), target);
        }
        answer = prompts.input(request).value_or(name);
    }
}

std::optional<std::u32string> renameCurrentDirectory(platform::FileSystem& fs, Prompts& prompts,
    DirectoryRenameHooks& hooks, const std::u32string& directory, const std::u32string& volumeRoot,
    bool dosNames, JournalWriter* journal)
{
    hooks.disableUndo();
    const std::size_t slash = directory.rfind(U'/');
    if (directory == volumeRoot || slash == std::u32string::npos || slash + 1 == directory.size())
        return std::nullopt;
    const std::u32string parent = directory.substr(0, slash + 1);
    const std::u32string name = directory.substr(slash + 1);

    const std::u32string answer = prompts
                                      .input({ "INSERISCI_NOME", text(lang::id::CAMBIA_NOME_DIR),
                                          text(lang::id::INSERISCI_NOME), name })
                                      .value_or(name);
    if (answer == name)
        return std::nullopt;
    const auto refuse = [&](lang::ConstantId constant) {
        prompts.tell({ std::string(constant.name), Severity::Information, text(constant) });
        return std::nullopt;
    };
    if (Check_Char_Vietati(answer, dosNames) != answer || answer.find(U"..") != std::u32string::npos
        || answer.find(U'\0') != std::u32string::npos)
        return refuse(lang::id::CHAR_INVALIDI);
    // Any entry of that name blocks the rename, a file as much as a directory.
    if (entryExists(fs, parent + answer))
        return refuse(lang::id::DIR_ESISTENTE);

    if (!journalOne(journal, prompts, JournalKind::Directory, platform::encodeName(parent),
            platform::encodeName(name), platform::encodeName(answer)))
        return std::nullopt;
    hooks.moveTree(volumeRoot);
    if (!renameWithSilentRetries(fs, platform::encodeName(parent), platform::encodeName(name),
            platform::encodeName(answer))
             .ok()) {
        closeOne(journal, false);
        hooks.moveTree(directory);
        return refuse(lang::id::DIR_IN_USO);
    }
    closeOne(journal, true);
    hooks.moveTree(parent + answer);
    return parent + answer;
}

} // namespace quorvane::engine
