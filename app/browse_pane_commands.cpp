// The file list's own commands: open, rename, delete, properties, and renaming the
// current directory.
#include "browse_pane.h"

#include "dialog_host.h"
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "file_list_box.h"
#include "properties_dialog.h"
#include "qt_text.h"

#include "engine/file_commands.h"
#include "engine/journal_writer.h"
#include "engine/prompts.h"
#include "engine/rename_run.h"
#include "lang/added_texts.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"
#include "platform/volumes.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QMenu>
#include <QUrl>

namespace quorvane::app {

namespace {

/// A path as Qt's file classes take it; exact only for names that are valid UTF-8.
QString qtPath(const std::u32string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(platform::encodeName(path)));
}

/// The pane's side of renaming the current directory.
class TreeMover final : public engine::DirectoryRenameHooks
{
public:
    TreeMover(BrowsePane& pane, tDirectoryListBoxSpecial& tree)
        : m_pane(pane)
        , m_tree(tree)
    { }
    void disableUndo() override { emit m_pane.undoInvalidated(); }
    void moveTree(const std::u32string& directory) override
    {
        m_tree.setDirectory(directory);
        m_pane.DirectoryListBox1Change();
    }

private:
    BrowsePane& m_pane;
    tDirectoryListBoxSpecial& m_tree;
};

} // namespace

void BrowsePane::createFileListMenu()
{
    PopupMenu1 = new QMenu(FileListBox1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* name, const char* caption) {
        QAction* action = PopupMenu1->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Apri1 = item("Apri1", "&Apri");
    Rinomina1 = item("Rinomina1", "&Rinomina");
    PopupMenu1->setDefaultAction(Rinomina1);
    Delete1 = item("Delete1", "&Elimina");
    Propriet1 = item("Propriet1", "&Proprietà");
    FileListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
}

std::u32string BrowsePane::focusedPath() const
{
    const std::u32string name = FileListBox1->focusedName();
    return name.empty() ? name : engine::directoryText(DirectoryListBox1->directory()) + name;
}

void BrowsePane::FileListBox1MouseDown(const QPoint& pos)
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

void BrowsePane::FileListBox1DblClick()
{
    const std::u32string name = FileListBox1->focusedName();
    if (name.empty())
        return; // no file: there is nothing to rename and no loop to enter
    // Journaled like a run, so the rename survives a crash in the history and can be undone.
    engine::JournalWriter journal(engine::defaultRunsDirectory());
    (void)engine::renameOneFile(
        m_fs, m_prompts, DirectoryListBox1->directory(), name, m_dosNames, &journal);
    FileListBox1->update();
}

void BrowsePane::Apri1Click()
{
    const std::u32string path = focusedPath();
    if (path.empty())
        return;
    // Without a program for the file (or a desktop to find one) nothing would open, and
    // the only word of it would go to the terminal.
    if (!m_dialogs.openUrl(QUrl::fromLocalFile(qtPath(path))))
        m_prompts.tell({ "APRI_FALLITO", engine::Severity::Warning,
            lang::formatText(lang::addedText(lang::added::APRI_FALLITO), { path }) });
}

void BrowsePane::Delete1Click()
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

void BrowsePane::Propriet1Click()
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

void BrowsePane::RinominalaDirectory1Click()
{
    TreeMover mover(*this, *DirectoryListBox1);
    const std::u32string directory = DirectoryListBox1->directory();
    std::u32string volumeRoot = DriveComboBox1->currentRoot();
    if (platform::isRoot(platform::encodeName(directory)))
        volumeRoot = directory; // a root itself is never renamed
    else if (volumeRoot.empty())
        volumeRoot = U"/";
    (void)engine::renameCurrentDirectory(m_fs, m_prompts, mover, directory, volumeRoot, m_dosNames);
}

} // namespace quorvane::app
