// Everything the settings file holds, written and read in the program's order.
#include "stored_settings.h"

#include <quorvane_version.h>

namespace quorvane::app {

namespace {

const QString kWindow = QStringLiteral("Window");
const QString kBasic = QStringLiteral("Opzioni_Base");
const QString kAdvanced = QStringLiteral("Opzioni_Avanzate");
const QString kPrint = QStringLiteral("Opzioni_Stampa");

/// One boolean of a group with its name and its default on reading.
template<typename Group>
struct BoolField
{
    const char* name;
    bool Group::*member;
    bool fallback;
};

// The order in which each group is written and read.
const BoolField<BasicOptions> kBasicFlags[] = {
    { "Ogni", &BasicOptions::Ogni, true },
    { "Dir", &BasicOptions::Dir, true },
    { "Spazi", &BasicOptions::Spazi, true },
    { "Prima", &BasicOptions::Prima, true },
    { "SubDir", &BasicOptions::SubDir, true },
    { "Trattini", &BasicOptions::Trattini, true },
    { "Solo_Trattini", &BasicOptions::Solo_Trattini, true },
};
const BoolField<BasicOptions> kAttributeFlags[] = {
    { "R", &BasicOptions::R, false },
    { "H", &BasicOptions::H, false },
    { "S", &BasicOptions::S, false },
    { "A", &BasicOptions::A, false },
};
const BoolField<AdvancedOptions> kAdvancedFlags[] = {
    { "Auto_Accent", &AdvancedOptions::Auto_Accent, false },
    { "Compatta_Spazi", &AdvancedOptions::Compatta_Spazi, false },
    { "Preserve_dotexp", &AdvancedOptions::Preserve_dotexp, true },
    { "DOS_Names", &AdvancedOptions::DOS_Names, false },
};
const BoolField<engine::ListingOptions> kPrintFlags[] = {
    { "printtitolo", &engine::ListingOptions::PrintTitle, false },
    { "printintest", &engine::ListingOptions::PrintHeading, true },
    { "printtot", &engine::ListingOptions::PrintTotals, true },
    { "printsubdir", &engine::ListingOptions::PrintSubdirs, false },
    { "printdir", &engine::ListingOptions::PrintDirNames, true },
    { "printsize", &engine::ListingOptions::PrintSizes, true },
    { "printdate", &engine::ListingOptions::PrintDates, true },
    { "printattr", &engine::ListingOptions::PrintAttributes, false },
    { "printext", &engine::ListingOptions::PrintExtensions, true },
    { "printtxtfile", &engine::ListingOptions::PrintToTextFile, false },
};

template<typename Group, std::size_t N>
void writeFlags(SettingsStore& store, const QString& section, const Group& group,
    const BoolField<Group> (&fields)[N])
{
    for (const BoolField<Group>& field : fields)
        store.writeBool(section, QString::fromLatin1(field.name), group.*field.member);
}

template<typename Group, std::size_t N>
void readFlags(const SettingsStore& store, const QString& section, Group& group,
    const BoolField<Group> (&fields)[N])
{
    for (const BoolField<Group>& field : fields)
        group.*field.member
            = store.readBool(section, QString::fromLatin1(field.name), field.fallback);
}

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

QString programVersion()
{
    return QString::fromUtf8(kProgramTitle);
}

void Salva(SettingsStore& store, const StoredSettings& settings)
{
    const SettingsFlags& f = settings.flags;
    store.writeBool({}, name("Salvate"), f.SettingsEnabled);
    store.writeBool({}, name("autoCheckUpdate"), f.AutoCheckUpdate);
    store.writeInteger({}, name("Language"), f.LanguageIndex);
    if (f.SaveWindow) {
        const WindowPlacement& w = settings.window;
        store.writeInteger(kWindow, name("Window_State"), w.state);
        if (w.state == 0) {
            store.writeInteger(kWindow, name("Window_X"), w.top);
            store.writeInteger(kWindow, name("Window_Y"), w.left);
            store.writeInteger(kWindow, name("Window_W"), w.width);
            store.writeInteger(kWindow, name("Window_H"), w.height);
        }
    }
    if (f.SaveDirectory)
        store.writeString({}, name("Directory"), settings.directory);
    store.writeBool({}, name("Salva_Opzioni_Base"), f.SaveBasicOptions);
    if (f.SaveBasicOptions) {
        writeFlags(store, kBasic, settings.basic, kBasicFlags);
        store.writeInteger(kBasic, name("Tipo_Rename"), settings.basic.Tipo_Rename);
        store.writeBool(kBasic, name("Attributi"), settings.basic.Attributi);
        writeFlags(store, kBasic, settings.basic, kAttributeFlags);
    }
    store.writeBool({}, name("Salva_Avanzate"), f.SaveAdvancedOptions);
    if (f.SaveAdvancedOptions)
        writeFlags(store, kAdvanced, settings.advanced, kAdvancedFlags);
    store.writeBool({}, name("Salva_Stampa"), f.SavePrintOptions);
    if (f.SavePrintOptions)
        writeFlags(store, kPrint, settings.print, kPrintFlags);
    store.writeBool({}, name("Salva_CDPlayer"), f.SaveCdPlayerPath);
    if (f.SaveCdPlayerPath)
        store.writeString({}, name("CDP_Directory"), f.CdPlayerIniPath);
    store.writeBool({}, name("Salva_Uscita"), f.SaveOnExit);
    store.writeBool({}, name("Salva_Finestra"), f.SaveWindow);
    store.writeBool({}, name("Salva_Directory"), f.SaveDirectory);
}

StoredSettings Leggi(const SettingsStore& store, const SettingsFlags& flags)
{
    StoredSettings s;
    s.flags = flags;
    if (!store.keyExists()) {
        s.flags.SettingsEnabled = false;
        s.advanced.Preserve_dotexp = true;
        return s;
    }
    s.keyExisted = true;
    SettingsFlags& f = s.flags;
    f.SettingsEnabled = store.readBool({}, name("Salvate"), false);
    f.AutoCheckUpdate = store.readBool({}, name("autoCheckUpdate"), false);
    f.SaveWindow = store.readBool({}, name("Salva_Finestra"), false);
    f.LanguageIndex = store.readInteger({}, name("Language"), 0);
    s.window.top = store.readInteger(kWindow, name("Window_X"), 0);
    s.window.left = store.readInteger(kWindow, name("Window_Y"), 0);
    s.window.width = store.readInteger(kWindow, name("Window_W"), 640);
    s.window.height = store.readInteger(kWindow, name("Window_H"), 480);
    s.window.state = store.readInteger(kWindow, name("Window_State"), 0);
    f.SaveBasicOptions = store.readBool({}, name("Salva_Opzioni_Base"), false);
    readFlags(store, kBasic, s.basic, kBasicFlags);
    s.basic.Tipo_Rename = store.readInteger(kBasic, name("Tipo_Rename"), 1);
    s.basic.Attributi = store.readBool(kBasic, name("Attributi"), false);
    readFlags(store, kBasic, s.basic, kAttributeFlags);
    f.SaveDirectory = store.readBool({}, name("Salva_Directory"), false);
    s.directory = store.readString({}, name("Directory"), {});
    f.SaveOnExit = store.readBool({}, name("Salva_Uscita"), false);
    f.SaveAdvancedOptions = store.readBool({}, name("Salva_Avanzate"), false);
    readFlags(store, kAdvanced, s.advanced, kAdvancedFlags);
    f.SaveCdPlayerPath = store.readBool({}, name("Salva_CDPlayer"), false);
    f.CdPlayerIniPath = store.readString({}, name("CDP_Directory"), QStringLiteral("cdplayer.ini"));
    f.SavePrintOptions = store.readBool({}, name("Salva_Stampa"), false);
    readFlags(store, kPrint, s.print, kPrintFlags);
    return s;
}

void removeStoredSettings(SettingsStore& store)
{
    for (const char* value : { "Language", "autoCheckUpdate" })
        store.remove({}, name(value));
    for (const char* value : { "Window_X", "Window_Y", "Window_H", "Window_W", "Window_State" })
        store.remove(kWindow, name(value));
    for (const char* value : { "Ogni", "Dir", "Spazi", "Prima", "SubDir", "Trattini",
             "Solo_Trattini", "Tipo_Rename", "Attributi", "R", "H", "S", "A" })
        store.remove(kBasic, name(value));
    for (const char* value : { "Auto_Accent", "Compatta_Spazi", "DOS_Names" })
        store.remove(kAdvanced, name(value));
    for (const BoolField<engine::ListingOptions>& field : kPrintFlags)
        store.remove(kPrint, name(field.name));
    for (const char* value : { "Salva_Avanzate", "Salva_Uscita", "Salva_Finestra",
             "Salva_Directory", "Salva_Opzioni_Base", "Salva_Stampa", "Directory", "Salvate",
             "Salva_CDPlayer", "CDP_Directory" })
        store.remove({}, name(value));
    for (const QString& section : { kAdvanced, kBasic, kPrint, kWindow })
        store.removeSection(section);
}

} // namespace quorvane::app
