// The texts of the window's file dialogs, kept on the window to be translated with it.
#include "file_dialog_texts.h"

#include "filter_text.h"

#include <QFileDialog>

namespace quorvane::app {

namespace {

struct Designed
{
    const char* name;
    const char* title;
    const char* filter;
    const char* fileName;
};

Designed designed(FileDialogTexts::Which which)
{
    switch (which) {
    case FileDialogTexts::Which::OpenDialog1:
        return { "OpenDialog1", "Seleziona un file", "*.*|*.*|*.txt|*.txt", "" };
    case FileDialogTexts::Which::SaveDialog1:
        // Designed without a title, which left the system's "Save As"; the dialog says
        // what it saves instead.
        return { "SaveDialog1", "Salva l'elenco in un file di testo", "*.txt|*.txt|*.*|*.*",
            "StampaFile.txt" };
    }
    return {};
}

} // namespace

FileDialogTexts::FileDialogTexts(Which which, QObject* window)
    : QObject(window)
    , m_which(which)
{
    const Designed texts = designed(which);
    setObjectName(QString::fromLatin1(texts.name));
    m_title = QString::fromUtf8(texts.title);
    m_filter = QString::fromUtf8(texts.filter);
    m_fileName = QString::fromUtf8(texts.fileName);
}

void FileDialogTexts::prepare(QFileDialog& dialog, const QObject& window, Which which)
{
    const Designed builtIn = designed(which);
    const auto* own = window.findChild<FileDialogTexts*>(QString::fromLatin1(builtIn.name));
    const QString title = own != nullptr ? own->title() : QString::fromUtf8(builtIn.title);
    const QString filter = own != nullptr ? own->filter() : QString::fromUtf8(builtIn.filter);
    const QString fileName = own != nullptr ? own->fileName() : QString::fromUtf8(builtIn.fileName);

    dialog.setWindowTitle(title);
    QStringList filters;
    for (const FilterEntry& entry :
        translateFilter(splitFilter(QString::fromUtf8(builtIn.filter)), filter))
        filters << nameFilter(entry);
    dialog.setNameFilters(filters);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
}

} // namespace quorvane::app
