// Everything the settings file holds, and the two operations that write and read it.
#pragma once

#include "settings_store.h"

#include "engine/listing_options.h"

#include <QString>

namespace quorvane::app {

/// The switches of the save-settings dialog and the values stored beside them.
struct SettingsFlags
{
    bool SettingsEnabled = false; ///< "Salvate": settings are saved at all
    bool SaveOnExit = false; ///< "Salva_Uscita"
    bool SaveWindow = false; ///< "Salva_Finestra"
    bool SaveDirectory = false; ///< "Salva_Directory"
    bool SaveBasicOptions = false; ///< "Salva_Opzioni_Base"
    bool SaveAdvancedOptions = false; ///< "Salva_Avanzate"
    bool SavePrintOptions = false; ///< "Salva_Stampa"
    bool SaveCdPlayerPath = false; ///< "Salva_CDPlayer"
    bool AutoCheckUpdate = false; ///< "autoCheckUpdate"
    int LanguageIndex = 0; ///< "Language": 0 is the built-in Italian
    QString CdPlayerIniPath = QStringLiteral("cdplayer.ini"); ///< "CDP_Directory"
};

/// The main window's placement. The file keeps the top edge in "Window_X" and the left
/// edge in "Window_Y", the other way round from their names; files written so must read
/// back the same.
struct WindowPlacement
{
    int state = 0; ///< 0 normal, 1 minimised, 2 maximised
    int top = 0;
    int left = 0;
    int width = 640;
    int height = 480;
};

/// The option column of the main window, by the names the file gives them.
struct BasicOptions
{
    bool Ogni = true; ///< CheckBox6
    bool Dir = true; ///< CheckBox7
    bool Spazi = true; ///< CheckBox8
    bool Prima = true; ///< CheckBox9
    bool SubDir = true; ///< CheckBox10
    bool Trattini = true; ///< CheckBox11
    bool Solo_Trattini = true; ///< CheckBox12
    int Tipo_Rename = 1; ///< ComboBox1
    bool Attributi = false; ///< RadioButton1 selected
    bool R = false;
    bool H = false;
    bool S = false;
    bool A = false;
};

/// The four toggles of the "Opzioni" menu.
struct AdvancedOptions
{
    bool Auto_Accent = false;
    bool Compatta_Spazi = false;
    bool Preserve_dotexp = true;
    bool DOS_Names = false;
};

/// The whole file as the program sees it. Reading a file without the key leaves every
/// field at its start value (keyExisted false): the window keeps its designed defaults.
struct StoredSettings
{
    bool keyExisted = false;
    SettingsFlags flags;
    WindowPlacement window;
    QString directory;
    BasicOptions basic;
    AdvancedOptions advanced;
    engine::ListingOptions print;
};

/// Writes `settings`, each group only when its switch is on; a group whose switch is off
/// keeps what the file holds. The window placement is written only for a normal window
/// (a maximised one keeps the placement it will be restored to).
void Salva(SettingsStore& store, const StoredSettings& settings);

/// Reads the whole file, with the default of each value where it is missing or malformed.
/// `flags` are the program's current switches, kept where the file has no key.
[[nodiscard]] StoredSettings Leggi(const SettingsStore& store, const SettingsFlags& flags);

/// Removes every stored value and section; the key and its "Version" stay.
void removeStoredSettings(SettingsStore& store);

/// The program's version as "Version" holds it.
[[nodiscard]] QString programVersion();

} // namespace quorvane::app
