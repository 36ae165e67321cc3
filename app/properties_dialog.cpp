// The program's own read-only properties of one entry.
#include "properties_dialog.h"

#include "qt_text.h"
#include "qt_translations.h"

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

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nome:"), value(toDisplay(name), this));
    form->addRow(QStringLiteral("Cartella:"), value(toDisplay(folder), this));
    const auto info = fs.status(platform::encodeName(path), platform::Links::DoNotFollow);
    if (info.ok()) {
        form->addRow(QStringLiteral("Dimensione:"),
            value(QStringLiteral("%1 byte").arg(
                      programLocale().toString(static_cast<qulonglong>(info.value().size))),
                this));
        form->addRow(QStringLiteral("Modificato:"), value(timeText(info.value().mtimeNs), this));
        form->addRow(
            QStringLiteral("Ultimo accesso:"), value(timeText(info.value().atimeNs), this));
        form->addRow(
            QStringLiteral("Permessi:"), value(permissionText(info.value().permissions), this));
    } else {
        form->addRow(QStringLiteral("Errore:"),
            value(QString::fromLocal8Bit(info.error().text().c_str()), this));
    }
    const auto attributes = fs.attributes(platform::encodeName(path));
    form->addRow(QStringLiteral("Attributi:"),
        value(attributes.ok() ? attributeText(attributes.value()) : QStringLiteral("-"), this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace quorvane::app
