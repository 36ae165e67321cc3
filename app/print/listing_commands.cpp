// The window's three printing commands and everything they share: options, printer, font.
#include "listing_commands.h"

#include "listing_file_output.h"
#include "listing_printer_output.h"
#include "tanteprima.h"
#include "tstampa.h"

#include "app/dialog_host.h"
#include "app/file_dialog_texts.h"
#include "app/qt_text.h"
#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace quorvane::app {

namespace {

/// How many unreadable subdirectories a message names before it only counts them.
constexpr std::size_t kNamedUnreadable = 10;

/// The listing's page margins on every side.
constexpr qreal kMarginMm = 15;

} // namespace

ListingCommands::ListingCommands(QWidget& owner, engine::Prompts& prompts,
    const platform::FileSystem& fs, DialogHost& dialogs, QFont& listingFont)
    : m_owner(owner)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_dialogs(dialogs)
    , m_font(listingFont)
    , m_printer(QPrinter::HighResolution)
{
    // The printer's own minimum (a few millimetres) puts the text at the paper's edge;
    // the printer setup dialog can change these.
    m_printer.setPageMargins(
        QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

ListingCommands::~ListingCommands() = default;

void ListingCommands::N6Click(const engine::ListingSource& source)
{
    TStampa dialog(*this, source, &m_owner);
    m_dialogs.exec(dialog);
}

void ListingCommands::AnteprimadiStampa1Click(const engine::ListingSource& source)
{
    preview(source);
}

void ListingCommands::Stampa1Click(const engine::ListingSource& source)
{
    print(source);
}

bool ListingCommands::preview(const engine::ListingSource& source)
{
    // The preview is filled straight from the builder: the listing is made once per showing,
    // and "Stampa" in the preview makes it again from the directory.
    TAnteprima window(
        m_font, [this, source] { return print(source); }, &m_owner);
    if (!build(source, [&window](std::u32string_view text) { window.appendListing(text); }))
        return false;
    tellUnreadable();
    return m_dialogs.exec(window) == QDialog::Accepted;
}

bool ListingCommands::print(const engine::ListingSource& source)
{
    // A text file is no print job: the save dialog alone chooses it, and the print dialog,
    // whose printer and PDF path would only be ignored, stays out of the way.
    if (m_printToFile)
        return saveTextFile(source);
    nameThePdfFile();
    QPrintDialog dialog(&m_printer, &m_owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    // The text-file choice is the program's own. It goes in sight above the dialog's buttons
    // where the dialog's layout allows, otherwise into a tab of the dialog's options.
    auto* box = new QCheckBox(toQt(lang::addedText(lang::added::STAMPA_SU_FILE_DI_TESTO)), &dialog);
    box->setObjectName(QStringLiteral("PrintToTextFile"));
    box->setChecked(m_printToFile);
    if (auto* layout = qobject_cast<QBoxLayout*>(dialog.layout()); layout != nullptr) {
        layout->insertWidget(std::max(layout->count() - 1, 0), box);
    } else {
        auto* tab = new QWidget(&dialog);
        tab->setWindowTitle(QStringLiteral("Quorvane"));
        box->setParent(tab);
        auto* tabLayout = new QVBoxLayout(tab);
        tabLayout->addWidget(box);
        tabLayout->addStretch();
        dialog.setOptionTabs({ tab });
    }
    if (m_dialogs.exec(dialog) != QDialog::Accepted)
        return false;
    m_printToFile = box->isChecked();
    if (m_printToFile)
        saveTextFile(source);
    else
        printListing(source);
    return true;
}

void ListingCommands::nameThePdfFile()
{
    // Without a printer the print dialog offers a PDF file alone; with no name of its own
    // its field would hold a bare folder, which the dialog refuses to confirm.
    m_printer.setDocName(QStringLiteral("Quorvane"));
    if (m_printer.outputFormat() != QPrinter::PdfFormat)
        return;
    const QString current = m_printer.outputFileName();
    if (!current.isEmpty() && !QFileInfo(current).isDir())
        return;
    const QString folder = !current.isEmpty() ? current
        : m_saveFolder.isEmpty()              ? QDir::homePath()
                                              : m_saveFolder;
    m_printer.setOutputFileName(QDir(folder).filePath(QStringLiteral("Quorvane.pdf")));
}

void ListingCommands::printerSetup()
{
    QPageSetupDialog dialog(&m_printer, &m_owner);
    m_dialogs.exec(dialog);
}

void ListingCommands::chooseFont(bool fixedPitchOnly)
{
    QFontDialog dialog(m_font, &m_owner);
    dialog.setOption(QFontDialog::MonospacedFonts, fixedPitchOnly);
    if (m_dialogs.exec(dialog) == QDialog::Accepted)
        m_font = dialog.selectedFont();
}

bool ListingCommands::saveTextFile(const engine::ListingSource& source)
{
    QFileDialog dialog(&m_owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(m_saveFolder.isEmpty() ? QDir::homePath() : m_saveFolder);
    FileDialogTexts::prepare(dialog, m_owner, FileDialogTexts::Which::SaveDialog1);
    // The dialog asks before an existing file is replaced (QFileDialog's default).
    if (m_dialogs.exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return writeTextFile(source, dialog.selectedFiles().constFirst());
}

bool ListingCommands::writeTextFile(const engine::ListingSource& source, const QString& path)
{
    const std::u32string shownPath = toCore(QDir::toNativeSeparators(path));
    ListingFileOutput output(path);
    if (!output.open()) {
        tell(engine::Severity::Error, lang::added::FILE_NON_SCRITTO,
            lang::formatText(lang::addedText(lang::added::FILE_NON_SCRITTO),
                { shownPath, toCore(output.errorString()) }));
        return false;
    }
    if (!build(source, [&output](std::u32string_view text) { output.write(text); }))
        return false;
    if (!output.commit()) {
        tell(engine::Severity::Error, lang::added::FILE_NON_SCRITTO,
            lang::formatText(lang::addedText(lang::added::FILE_NON_SCRITTO),
                { shownPath, toCore(output.errorString()) }));
        return false;
    }
    m_saveFolder = QFileInfo(path).absolutePath();
    tellUnreadable();
    return true;
}

bool ListingCommands::printListing(const engine::ListingSource& source)
{
    // Without any printer Qt's printer is a PDF writer that has no file to write.
    const bool noPrinter = m_printer.outputFormat() == QPrinter::NativeFormat
        ? !m_printer.isValid()
        : m_printer.outputFileName().isEmpty();
    if (noPrinter) {
        tell(engine::Severity::Error, lang::added::NESSUNA_STAMPANTE,
            lang::addedText(lang::added::NESSUNA_STAMPANTE));
        return false;
    }
    ListingPrinterOutput output(m_printer, m_font);
    bool opened = false;
    bool usable = false;
    // The job starts with the first piece, so that a directory that cannot be read starts
    // no job (and makes no empty PDF file).
    const bool built = build(source, [&](std::u32string_view text) {
        if (!opened) {
            opened = true;
            usable = output.open();
        }
        if (usable)
            output.write(text);
    });
    if (!built)
        return false;
    const QString printerName = m_printer.outputFormat() == QPrinter::NativeFormat
        ? m_printer.printerName()
        : QDir::toNativeSeparators(m_printer.outputFileName());
    if (!usable || !output.close()) {
        tell(engine::Severity::Error, lang::added::STAMPA_FALLITA,
            lang::formatText(
                lang::addedText(lang::added::STAMPA_FALLITA), { toCore(printerName) }));
        return false;
    }
    tellUnreadable();
    return true;
}

bool ListingCommands::build(const engine::ListingSource& source, const engine::ListingSink& sink)
{
    const engine::ListingReport report
        = engine::writeListing(m_fs, source, m_options, m_dates, m_collator, sink);
    m_unreadable = report.unreadable;
    if (report.failure) {
        tell(engine::Severity::Error, lang::added::DIR_NON_LEGGIBILE,
            lang::formatText(lang::addedText(lang::added::DIR_NON_LEGGIBILE),
                { engine::listingDirectoryText(source.directory),
                    platform::decodeName(report.failure->text()) }));
        return false;
    }
    return true;
}

void ListingCommands::tellUnreadable()
{
    if (m_unreadable.empty())
        return;
    std::u32string names;
    const std::size_t named = std::min(m_unreadable.size(), kNamedUnreadable);
    for (std::size_t i = 0; i < named; ++i)
        names += (i > 0 ? U"\r\n" : U"") + platform::decodeName(m_unreadable[i].describe());
    if (m_unreadable.size() > named)
        names += U"\r\n...";
    tell(engine::Severity::Warning, lang::added::SOTTODIR_NON_LEGGIBILI,
        lang::formatText(lang::addedText(lang::added::SOTTODIR_NON_LEGGIBILI),
            { static_cast<std::int64_t>(m_unreadable.size()), names }));
    m_unreadable.clear();
}

void ListingCommands::tell(engine::Severity severity, lang::ConstantId id, std::u32string text)
{
    m_prompts.tell({ std::string(id.name), severity, std::move(text) });
}

} // namespace quorvane::app
