// Quorvane: the desktop bulk renamer.
#include "app/close_request.h"
#include "app/dialog_host.h"
#include "app/language_template.h"
#include "app/qt_prompts.h"
#include "app/qt_translations.h"
#include "app/settings/settings_store.h"
#include "app/tform1.h"

#include "platform/close_signals.h"
#include "platform/current_directory.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <QApplication>
#include <QLocale>
#include <QtGlobal>

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    using namespace quorvane;
    // The translator's template needs no display: the forms are built, never shown.
    const bool dumpLanguage = argc == 2 && std::string_view(argv[1]) == "--dump-language";
    if (dumpLanguage)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (dumpLanguage) {
        std::fputs(app::languageTemplate().toUtf8().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
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
    app::SettingsStore settings;
    // A session that ends, a plain kill or Ctrl+C closes the window as the user would, so the
    // exit sequence saves the settings; every box open then, or opened later, is closed
    // unanswered.
    app::CloseRequest closeRequest(platform::installCloseSignals());
    app::TForm1 window(prompts, fs, dialogs, start, &settings);
    prompts.setOwner(&window);
    if (!app::CloseRequest::pending())
        window.show();
    if (app::CloseRequest::pending()) {
        // Asked while a start-up box was open: the event loop would never see the window
        // close, so it is not entered.
        window.close();
        return 0;
    }
    closeRequest.setWindow(&window);
    return QApplication::exec();
}
