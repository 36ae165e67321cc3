// Quorvane: the desktop bulk renamer.
#include "app/dialog_host.h"
#include "app/qt_prompts.h"
#include "app/qt_translations.h"
#include "app/tform1.h"

#include "platform/current_directory.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <QApplication>
#include <QLocale>
#include <QtGlobal>

int main(int argc, char** argv)
{
    using namespace quorvane;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Italian screens need Italian buttons; without Qt's translation they stay English,
    // which is worth a line on the console but no reason not to start.
    if (!app::setQtLanguage(QLocale(QLocale::Italian, QLocale::Italy)))
        qWarning("Qt's Italian texts are not installed (package qt6-translations-l10n): "
                 "standard buttons stay English");

    platform::PosixFileSystem fs;
    app::DialogHost dialogs;
    app::QtPrompts prompts;
    // The start directory is the process's own, byte for byte.
    const std::u32string start = platform::decodeName(platform::currentDirectory());
    app::TForm1 window(prompts, fs, dialogs, start);
    prompts.setOwner(&window);
    window.show();
    return QApplication::exec();
}
