// How the main window copes with one huge directory: the file list's fill, the longest stall
// of the event loop meanwhile, the preview's opening and the peak memory, printed for the
// benchmark notes. Usage: window_bench [ENTRIES] [SCREENSHOT_DIR]
#include "app/browse_pane.h"
#include "app/dialog_host.h"
#include "app/file_list_box.h"
#include "app/tform1.h"

#include "engine/prompts.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using namespace quorvane;

/// Answers every question with its first button and every input box with Cancel: the
/// benchmark never waits for a person.
class SilentPrompts final : public engine::Prompts
{
public:
    [[nodiscard]] engine::Button ask(const engine::Question& question) override
    {
        return question.buttons.front();
    }
    [[nodiscard]] std::optional<std::u32string> input(const engine::InputRequest&) override
    {
        return std::nullopt;
    }
    void tell(const engine::Message& message) override
    {
        std::fprintf(stderr, "message: %s\n", message.id.c_str());
    }
};

/// Shows the preview without blocking, times it until painted, scrolls it to the end and
/// closes it.
class TimingDialogs final : public app::DialogHost
{
public:
    std::function<void()> onExec;
    std::function<void(QDialog&)> onShown;

    int exec(QDialog& dialog) override
    {
        if (onExec)
            onExec();
        dialog.show();
        QCoreApplication::processEvents();
        if (onShown)
            onShown(dialog);
        dialog.close();
        return QDialog::Rejected;
    }
};

/// Ticks every 10 ms and keeps the longest gap between ticks: how long the window could not
/// answer the user.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout,
            [this] { m_longest = std::max(m_longest, m_sinceTick.restart()); });
    }
    void start()
    {
        m_longest = 0;
        m_sinceTick.start();
        m_timer.start();
    }
    qint64 stop()
    {
        m_timer.stop();
        return std::max(m_longest, m_sinceTick.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
};

long peakRssKb()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return -1;
}

/// `count` names in one directory, as hard links to one file so that setting up a million
/// entries stays quick. Lower-case names, so that the preview has something to change.
void makeEntries(const std::filesystem::path& dir, int count)
{
    constexpr int kLinksPerFile = 50'000; // below every file system's link limit
    std::filesystem::create_directory(dir);
    std::filesystem::path seed;
    for (int i = 0; i < count; ++i) {
        if (i % kLinksPerFile == 0) {
            seed = dir.parent_path() / ("seed" + std::to_string(i / kLinksPerFile));
            std::ofstream { seed };
        }
        // A scrambled order, so that the sort has work to do.
        const long long number = (static_cast<long long>(i) * 7919) % count;
        std::filesystem::create_hard_link(seed, dir / ("track " + std::to_string(number) + ".mp3"));
    }
}

void waitUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void screenshot(QWidget& widget, const QString& dir, const char* name)
{
    if (!dir.isEmpty())
        widget.grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::stoi(argv[1]) : 1'000'000;
    const QString shots = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);

    QTemporaryDir scratch;
    const std::filesystem::path root = scratch.path().toStdString();
    QElapsedTimer timer;
    timer.start();
    makeEntries(root / "many", count);
    std::printf("set-up: %d entries in %lld ms\n", count, timer.elapsed());

    platform::PosixFileSystem fs;
    SilentPrompts prompts;
    TimingDialogs dialogs;
    app::TForm1 window(prompts, fs, dialogs, platform::decodeName(root.string()));
    window.resize(900, 650);
    window.show();
    waitUntil([&] { return window.isVisible(); });
    QCoreApplication::processEvents();

    auto* list = window.findChild<app::FileListBox*>(QStringLiteral("FileListBox1"));
    auto* files = window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    const QString countText = QStringLiteral(" %1 ").arg(count);

    StallMeter stall;
    stall.start();
    timer.restart();
    QTimer::singleShot(0, &window, [&] {
        window.browsePane().openDirectory(platform::decodeName((root / "many").string()));
        screenshot(window, shots, "window-loading.png");
    });
    waitUntil([&] { return list->count() == count && files->text().startsWith(countText); });
    const qint64 fillMs = timer.elapsed();
    QCoreApplication::processEvents(); // the rows' first paint
    const qint64 paintedMs = timer.elapsed();
    const qint64 longestStall = stall.stop();
    screenshot(window, shots, "window-filled.png");
    std::printf(
        "file list filled, status bar right: %lld ms (painted %lld ms)\n", fillMs, paintedMs);
    std::printf("longest event-loop stall during the fill: %lld ms\n", longestStall);
    std::printf("peak RSS after the fill: %ld kB\n", peakRssKb());

    qint64 builtMs = -1;
    qint64 shownMs = -1;
    qint64 scrolledMs = -1;
    // The dry run and the marks come before the dialog is handed over; the rest is the dialog.
    dialogs.onExec = [&] { builtMs = timer.elapsed(); };
    dialogs.onShown = [&](QDialog& dialog) {
        shownMs = timer.elapsed();
        screenshot(dialog, shots, "preview.png");
        auto* grid = dialog.findChild<QTableView*>();
        if (grid == nullptr)
            return;
        QElapsedTimer scrolling;
        scrolling.start();
        // Page by page, as a user holding Page Down would; then the last row.
        for (int page = 0; page < 50; ++page) {
            grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            grid->viewport()->repaint();
        }
        grid->scrollToBottom();
        grid->viewport()->repaint();
        scrolledMs = scrolling.elapsed();
    };
    auto* anteprima = window.findChild<QPushButton*>(QStringLiteral("BitBtn4"));
    timer.restart();
    anteprima->click();
    std::printf("preview open and painted: %lld ms (dry run, marks and dialog built: %lld ms)\n",
        shownMs, builtMs);
    std::printf("preview: 50 pages down and to the last row: %lld ms\n", scrolledMs);
    std::printf("peak RSS: %ld kB\n", peakRssKb());
    return 0;
}
