// The program's own read-only properties of one entry.
#include "properties_dialog.h"

#include "qt_text.h"
#include "qt_translations.h"
#include "tlanguage_controller.h"

#include "lang/added_texts.h"
#include "lang/text_format.h"
#include "platform/file_system.h"
#include "platform/name_codec.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace quorvane::app {

namespace {

QString timeText(std::int64_t nanoseconds)
{
    return programLocale().toString(
        QDateTime::fromMSecsSinceEpoch(nanoseconds / 1'000'000), QLocale::LongFormat);
}

QLabel* value(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString PropertiesDialog::permissionText(unsigned mode)
{
    QString text;
    const char* letters = "rwx";
    for (int bit = 8; bit >= 0; --bit)
        text += (mode & (1U << bit)) != 0 ? QChar::fromLatin1(letters[(8 - bit) % 3]) : QChar(u'-');
    return text;
}

QString PropertiesDialog::attributeText(std::uint32_t attributes)
{
    QString text;
    const std::pair<std::uint32_t, char> letters[] = { { platform::kReadOnly, 'R' },
        { platform::kHidden, 'H' }, { platform::kSystem, 'S' }, { platform::kArchive, 'A' } };
    for (const auto& [bit, letter] : letters)
        if ((attributes & bit) != 0)
            text += QChar::fromLatin1(letter);
    return text.isEmpty() ? QStringLiteral("-") : text;
}

PropertiesDialog::PropertiesDialog(
    const platform::FileSystem& fs, const std::u32string& path, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PropertiesDialog"));
    setWindowTitle(QStringLiteral("Proprietà"));
    const std::size_t slash = path.rfind(U'/');
    const std::u32string folder = slash == std::u32string::npos ? U"" : path.substr(0, slash + 1);
    const std::u32string name = slash == std::u32string::npos ? path : path.substr(slash + 1);

    // Every caption is a named label, present whatever the entry's state, so that the
    // form's translation (and the translator's template) always finds all of them.
    auto* form = new QFormLayout;
    const auto row = [&](const char* objectName, const char* caption, const QString& text) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setObjectName(QString::fromLatin1(objectName));
        form->addRow(label, value(text, this));
        return label;
    };
    row("NameLabel", "Nome:", toDisplay(name));
    row("FolderLabel", "Cartella:", toDisplay(folder));
    const auto info = fs.status(platform::encodeName(path), platform::Links::DoNotFollow);
    const platform::EntryStatus status = info.ok() ? info.value() : platform::EntryStatus {};
    const QList<QLabel*> statusRows {
        row("SizeLabel", "Dimensione:",
            toDisplay(lang::formatText(lang::addedText(lang::added::PROPRIETA_BYTE),
                { toCore(programLocale().toString(static_cast<qulonglong>(status.size))) }))),
        row("ModifiedLabel", "Modificato:", timeText(status.mtimeNs)),
        row("AccessedLabel", "Ultimo accesso:", timeText(status.atimeNs)),
        row("PermissionsLabel", "Permessi:", permissionText(status.permissions)),
    };
    QLabel* error = row("ErrorLabel",
        "Errore:", info.ok() ? QString() : QString::fromLocal8Bit(info.error().text().c_str()));
    for (QLabel* label : statusRows)
        form->setRowVisible(label, info.ok());
    form->setRowVisible(error, !info.ok());
    const auto attributes = fs.attributes(platform::encodeName(path));
    row("AttributesLabel",
        "Attributi:", attributes.ok() ? attributeText(attributes.value()) : QStringLiteral("-"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // Last, as on every form: the texts above are the built-in ones it records.
    new TLanguageController(this, "Properties");
}

} // namespace quorvane::app
