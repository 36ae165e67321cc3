// The options that govern how a name is rewritten, named after the controls that set them.
#pragma once

namespace quorvane::engine {

/// Capitalisation modes, the item indexes of ComboBox1.
enum CaseMode : int {
    kCaseKeep = 0, ///< "Non ottimizzare maiuscole"
    kCaseOptimize = 1, ///< "Ottimizza Maiuscole"
    kCaseUpper = 2, ///< "TUTTO MAIUSCOLO"
    kCaseLower = 3, ///< "tutto minuscolo"
};

/// The main window's rename options, read by the rules for every entry.
struct RenameOptions
{
    int ComboBox1 = kCaseOptimize; ///< capitalisation mode
    bool CheckBox9 = true; ///< first-letter capital (mode 1)
    bool CheckBox6 = true; ///< capital after a space, "(" or "[" (mode 1)
    bool CheckBox12 = true; ///< capital after a dash (mode 1, only while CheckBox6 is off)
    bool CheckBox8 = false; ///< "_" becomes a space
    bool CheckBox11 = false; ///< spaces round every "-"
    bool dosnames1 = false; ///< remove the DOS-unsafe characters too
    bool HandleAccents = false; ///< vowel + apostrophe <-> accented letter
    bool CompactSpaces = false; ///< compact runs of blanks
    bool KeepExtDot = true; ///< deleting or replacing "." spares the extension's dot

    // One-run items: armed for the next run, switched off around it.
    bool Rinominainformato831 = false; ///< 8.3 names
    bool NumerazioneFiles1 = false; ///< numbering
    bool EliminaNumerazioneFiles1 = false; ///< removing numbering
    bool EliminaSequenzaCaratteri1 = false; ///< deleting a sequence
    bool SostSeqCar1 = false; ///< replacing a sequence
    bool RinominadaFile1 = false; ///< names from a list file
    bool RinominadaCDDB1 = false; ///< names from the CD player database
};

} // namespace quorvane::engine
