// The window's three printing commands and everything they share: options, printer, font.
#pragma once

#include "engine/listing_builder.h"
#include "engine/listing_format.h"
#include "engine/listing_options.h"
#include "engine/prompts.h"
#include "lang/constant_id.h"
#include "platform/collator.h"
#include "platform/file_system.h"

#include <QFont>
#include <QPrinter>
#include <QString>

#include <vector>

class QWidget;

namespace quorvane::app {

class DialogHost;

/// Owns what printing keeps between commands: the listing options, the printer (with what
/// the print and printer setup dialogs left in it), the print dialog's "text file" box and
/// the folder of the last saved listing. The window owns one and calls the three entry
/// points from its menu "Avanzate":
///
///     // tform1.h
///     #include "app/print/listing_commands.h"
///     std::unique_ptr<ListingCommands> m_listing;
///     // FormCreate, after ListingFont is made:
///     m_listing = std::make_unique<ListingCommands>(*this, m_prompts, m_fs, m_dialogs,
///         ListingFont);
///     // one source for all three: the directory shown in the tree and the filter mask
///     engine::ListingSource TForm1::listingSource() const
///     { return { DirectoryListBox1->directory(), FilterComboBox1->mask() }; }
///     // the menu items, each inside the window's error boundary (guarded):
///     N6                 -> m_listing->N6Click(listingSource());
///     AnteprimadiStampa1 -> m_listing->AnteprimadiStampa1Click(listingSource());
///     Stampa1            -> m_listing->Stampa1Click(listingSource());
///
/// The settings store reads and writes options() (every field but PrintTitleText).
/// Failures are told through `prompts`; an ELangError of a missing text escapes to the
/// caller's error boundary.
class ListingCommands
{
public:
    /// `owner` parents the dialogs; every reference must outlive this object. `listingFont`
    /// is the window's ListingFont, which the font dialog changes.
    ListingCommands(QWidget& owner, engine::Prompts& prompts, const platform::FileSystem& fs,
        DialogHost& dialogs, QFont& listingFont);
    ~ListingCommands();
    ListingCommands(const ListingCommands&) = delete;
    ListingCommands& operator=(const ListingCommands&) = delete;

    // The window's menu commands.
    void N6Click(const engine::ListingSource& source); ///< "Opzioni Stampa": TStampa
    void AnteprimadiStampa1Click(const engine::ListingSource& source); ///< "Anteprima di Stampa"
    void Stampa1Click(const engine::ListingSource& source); ///< "Stampa"

    [[nodiscard]] engine::ListingOptions& options() { return m_options; }
    [[nodiscard]] QPrinter& printer() { return m_printer; }
    [[nodiscard]] const QFont& listingFont() const { return m_font; }

    // What the print windows ask for.
    /// Builds the listing into TAnteprima and shows it; true when its "Stampa" printed
    /// (the print dialog was confirmed), so an options window showing it closes too.
    bool preview(const engine::ListingSource& source);
    /// With the text-file box on, the listing to a file chosen in the save dialog alone;
    /// otherwise the print dialog, then the listing to the printer or, when its text-file
    /// box was ticked there, to a file chosen in the save dialog. True when the print dialog
    /// was confirmed, or, for the text file alone, when the file was written.
    bool print(const engine::ListingSource& source);
    /// The printer setup dialog (paper, orientation, margins).
    void printerSetup();
    /// The font dialog starting from the listing font, offering fixed-pitch fonts alone when
    /// `fixedPitchOnly`; a confirmed choice becomes the listing font, Cancel keeps it.
    void chooseFont(bool fixedPitchOnly);
    /// The state the print dialog's "Stampa su File di testo" box starts from next time.
    void setPrintToFileBox(bool checked) { m_printToFile = checked; }
    [[nodiscard]] bool printToFileBox() const { return m_printToFile; }

    /// The listing to `path` as a text file, replacing it atomically; false (and told)
    /// when it could not be written, and then an existing file is as it was.
    bool writeTextFile(const engine::ListingSource& source, const QString& path);
    /// The listing on the printer as it is set up now; false (and told) when it failed.
    bool printListing(const engine::ListingSource& source);

private:
    /// Gives a PDF writer (the printer when none is installed) a file name to propose.
    void nameThePdfFile();
    /// toFile with the save dialog: false when cancelled or failed.
    bool saveTextFile(const engine::ListingSource& source);
    /// Runs the builder into `sink`; false (and told) when the directory cannot be read.
    bool build(const engine::ListingSource& source, const engine::ListingSink& sink);
    /// Tells which subdirectories of the last build were listed as empty because they could
    /// not be read; nothing when all could.
    void tellUnreadable();
    void tell(engine::Severity severity, lang::ConstantId id, std::u32string text);

    QWidget& m_owner;
    engine::Prompts& m_prompts;
    const platform::FileSystem& m_fs;
    DialogHost& m_dialogs;
    QFont& m_font;
    engine::ListingOptions m_options;
    QPrinter m_printer;
    bool m_printToFile = false;
    QString m_saveFolder;
    std::vector<platform::SysError> m_unreadable; ///< of the last build
    engine::LocaleListingDateFormat m_dates;
    platform::Collator m_collator;
};

} // namespace quorvane::app
