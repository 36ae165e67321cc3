// The main window's navigation and the file list's own commands.
#include "tform1.h"

#include "dialog_host.h"
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "filter_combo_box.h"
#include "properties_dialog.h"
#include "qt_text.h"

#include "engine/file_commands.h"
#include "engine/rename_run.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"
#include "platform/volumes.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QUrl>

namespace quorvane::app {

namespace {

/// A path as Qt's file classes take it; exact only for names that are valid UTF-8.
QString qtPath(const std::u32string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(platform::encodeName(path)));
}

/// The window's side of renaming the current directory.
class TreeMover final : public engine::DirectoryRenameHooks
{
public:
    explicit TreeMover(TForm1& window)
        : m_window(window)
    { }
    void disableUndo() override { m_window.BitBtn3->setEnabled(false); }
    void moveTree(const std::u32string& directory) override
    {
        m_window.DirectoryListBox1->setDirectory(directory);
        m_window.DirectoryListBox1Change();
    }

private:
    TForm1& m_window;
};

} // namespace

void TForm1::createFileListMenu()
{
    PopupMenu1 = new QMenu(FileListBox1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Apri1 = PopupMenu1->addAction(QStringLiteral("&Apri"));
    Apri1->setObjectName(QStringLiteral("Apri1"));
    Rinomina1 = PopupMenu1->addAction(QStringLiteral("&Rinomina"));
    Rinomina1->setObjectName(QStringLiteral("Rinomina1"));
    PopupMenu1->setDefaultAction(Rinomina1);
    Delete1 = PopupMenu1->addAction(QStringLiteral("&Elimina"));
    Delete1->setObjectName(QStringLiteral("Delete1"));
    Propriet1 = PopupMenu1->addAction(QStringLiteral("&Proprietà"));
    Propriet1->setObjectName(QStringLiteral("Propriet1"));
    FileListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TForm1::connectFileListSignals()
{
    const auto handle = [this](Handler handler) { return guardedSlot(handler); };
    connect(
        DriveComboBox1, &DriveComboBox::driveChosen, this, handle(&TForm1::DriveComboBox1Change));
    connect(FilterComboBox1, &QComboBox::activated, this, handle(&TForm1::FilterComboBox1Change));
    connect(FileListBox1, &FileListBox::listChanged, this, handle(&TForm1::FileListBox1Change));
    connect(FileListBox1, &FileListBox::focusChanged, this, handle(&TForm1::FileListBox1Change));
    connect(FileListBox1, &QAbstractItemView::doubleClicked, this,
        handle(&TForm1::FileListBox1DblClick));
    connect(FileListBox1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { guarded([this, pos] { FileListBox1MouseDown(pos); }); });
    connect(aggiorna, &QToolButton::clicked, this, handle(&TForm1::aggiornaClick));
    connect(SpeedButton1, &QToolButton::clicked, this, handle(&TForm1::SpeedButton1Click));
    connect(rendir, &QToolButton::clicked, this, handle(&TForm1::RinominalaDirectory1Click));
    connect(RinominalaDirectory1, &QAction::triggered, this,
        handle(&TForm1::RinominalaDirectory1Click));
    connect(Apri1, &QAction::triggered, this, handle(&TForm1::Apri1Click));
    connect(Rinomina1, &QAction::triggered, this, handle(&TForm1::FileListBox1DblClick));
    connect(Delete1, &QAction::triggered, this, handle(&TForm1::Delete1Click));
    connect(Propriet1, &QAction::triggered, this, handle(&TForm1::Propriet1Click));
}

void TForm1::clearListModes()
{
    // A prepared list of names belongs to the directory and filter it was made for.
    RinominadaFile1->setChecked(false);
    RinominadaCDDB1->setChecked(false);
}

std::u32string TForm1::focusedPath() const
{
    const std::u32string name = FileListBox1->focusedName();
    return name.empty() ? name : engine::directoryText(DirectoryListBox1->directory()) + name;
}

void TForm1::DriveComboBox1Change()
{
    DirectoryListBox1->setDirectory(DriveComboBox1->currentRoot());
    DirectoryListBox1Change();
}

void TForm1::Edit1Change()
{
    rendir->setEnabled(!platform::isRoot(platform::encodeName(DirectoryListBox1->directory())));
}

void TForm1::FileListBox1Change()
{
    followWithMonitor();
    clearListModes();
    Aggiorna_StatusBar();
}

void TForm1::FilterComboBox1Change()
{
    if (FilterComboBox1->currentIndex() == FilterComboBox::otherIndex()) {
        const std::u32string answer
            = m_prompts
                  .input({ "ESEMPIO_MASCHERA", lang::LookupConstant(lang::id::INSERISCI_MASCHERA),
                      lang::LookupConstant(lang::id::ESEMPIO_MASCHERA), U"*.*" })
                  .value_or(U"*.*");
        if (answer.size() > 2 && answer != U"*.*") {
            FilterComboBox1->addItem(toDisplay(answer), toQt(answer));
            FilterComboBox1->setCurrentIndex(FilterComboBox1->count() - 1);
        } else {
            FilterComboBox1->setCurrentIndex(0);
        }
    }
    FileListBox1->setMask(FilterComboBox1->mask());
    clearListModes();
    Aggiorna_StatusBar();
}

void TForm1::SpeedButton1Click()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // The desktop may well be a link to a directory elsewhere: follow it.
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir()) {
        m_prompts.tell({ "DESKTOP", engine::Severity::Error,
            U"La cartella Desktop non esiste: " + toCore(desktop) });
        return;
    }
    DirectoryListBox1->setDirectory(platform::decodeName(QFile::encodeName(desktop).toStdString()));
    DirectoryListBox1Change();
}

void TForm1::aggiornaClick()
{
    // Without a monitor this is the only way to see what other programs changed, in the
    // subdirectories as much as among the files.
    DirectoryListBox1->update();
    FileListBox1->update();
}

void TForm1::FileListBox1MouseDown(const QPoint& pos)
{
    const QModelIndex index = FileListBox1->indexAt(pos);
    if (!index.isValid()) {
        FileListBox1->setFocusedRow(-1);
        return;
    }
    FileListBox1->setFocusedRow(index.row());
    FileListBox1->clearSelection();
    FileListBox1->selectionModel()->select(index, QItemSelectionModel::Select);
    PopupMenu1->popup(FileListBox1->viewport()->mapToGlobal(pos));
}

void TForm1::FileListBox1DblClick()
{
    const std::u32string name = FileListBox1->focusedName();
    if (name.empty())
        return; // no file: there is nothing to rename and no loop to enter
    (void)engine::renameOneFile(
        m_fs, m_prompts, DirectoryListBox1->directory(), name, dosnames1->isChecked());
    FileListBox1->update();
}

void TForm1::Apri1Click()
{
    const std::u32string path = focusedPath();
    if (!path.empty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(path)));
}

void TForm1::Delete1Click()
{
    const std::u32string path = focusedPath();
    if (path.empty())
        return;
    // The box shows the full path so the user sees exactly what goes. The text stays
    // editable as it always was, but the command never follows an edit to another entry:
    // a typo there must not delete some other file.
    const std::optional<std::u32string> answer
        = m_prompts.input({ "CONFERMA_ELIMINA", lang::LookupConstant(lang::id::ELIMINA_FILES),
            lang::LookupConstant(lang::id::CONFERMA_ELIMINA), path });
    if (!answer)
        return;
    if (*answer != path) {
        m_prompts.tell({ "ELIMINA_SOLO_SELEZIONATO", engine::Severity::Warning,
            lang::addedText(lang::added::ELIMINA_SOLO_SELEZIONATO) });
        return;
    }
    // Only the trash, never a permanent delete: a file the trash cannot take stays where
    // it is, and the user is told why.
    const platform::Result<std::string> trashed = m_fs.moveToTrash(platform::encodeName(path));
    if (!trashed.ok()) {
        m_prompts.tell({ "CESTINO_FALLITO", engine::Severity::Error,
            lang::formatText(lang::addedText(lang::added::CESTINO_FALLITO), { path }) + U"\r\n("
                + platform::decodeName(trashed.error().text()) + U")" });
    }
    FileListBox1->update();
}

void TForm1::Propriet1Click()
{
    const std::u32string path = focusedPath();
    if (path.empty())
        return;
    QDBusMessage call
        = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    call << QStringList { QUrl::fromLocalFile(qtPath(path)).toString() } << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    // No file manager answers: the program's own, read-only properties.
    PropertiesDialog dialog(m_fs, path, this);
    m_dialogs.exec(dialog);
}

void TForm1::RinominalaDirectory1Click()
{
    TreeMover mover(*this);
    const std::u32string directory = DirectoryListBox1->directory();
    std::u32string volumeRoot = DriveComboBox1->currentRoot();
    if (platform::isRoot(platform::encodeName(directory)))
        volumeRoot = directory; // a root itself is never renamed
    else if (volumeRoot.empty())
        volumeRoot = U"/";
    (void)engine::renameCurrentDirectory(
        m_fs, m_prompts, mover, directory, volumeRoot, dosnames1->isChecked());
}

} // namespace quorvane::app
