// The texts of the window's file dialogs, kept on the window to be translated with it.
#pragma once

#include <QObject>
#include <QString>

class QFileDialog;

namespace quorvane::app {

/// OpenDialog1 (the list file of "Rinomina da File") or SaveDialog1 (the listing saved as a
/// text file) of the main window: a component without a widget that holds the dialog's
/// title, its filter ("description|mask|...") and the file name it proposes. The form's
/// translation controller reaches them as Title, Filter and FileName; every dialog is
/// built from the texts in force when it opens.
class FileDialogTexts : public QObject
{
    Q_OBJECT
    // Named as a language file names them; the translation model finds them by these names.
    Q_PROPERTY(QString Title READ title WRITE setTitle)
    Q_PROPERTY(QString Filter READ filter WRITE setFilter)
    Q_PROPERTY(QString FileName READ fileName WRITE setFileName)
public:
    enum class Which { OpenDialog1, SaveDialog1 };

    /// The component with its built-in texts, named after `which`, owned by `window`.
    FileDialogTexts(Which which, QObject* window);

    [[nodiscard]] Which which() const { return m_which; }
    [[nodiscard]] const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    [[nodiscard]] const QString& filter() const { return m_filter; }
    void setFilter(const QString& filter) { m_filter = filter; }
    [[nodiscard]] const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    /// Gives `dialog` the title, the name filters and the proposed file name of `window`'s
    /// component, or the built-in ones when the window has none (a bare owner). The
    /// filter's masks are always the built-in ones: a language file only names them.
    static void prepare(QFileDialog& dialog, const QObject& window, Which which);

private:
    Which m_which;
    QString m_title;
    QString m_filter;
    QString m_fileName;
};

} // namespace quorvane::app
