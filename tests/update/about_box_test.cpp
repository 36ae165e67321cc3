// The About box: version line, caption with the build number, links, and nothing clipped.
#include "app/about/exe_info.h"
#include "app/about/link_label.h"
#include "app/about/taboutbox.h"
#include "app/dialog_host.h"

#include <quorvane_version.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace quorvane::test {
namespace {

TEST(BuildNumber, IsTheFourthPartOfTheFileVersionAtMostFourCharacters)
{
    const std::pair<const char*, const char*> cases[] = { { "0.9.9.234", "234" }, { "0.9.9", "" },
        { "", "" }, { "1.2.3.", "" }, { "1.2.3.45678", "4567" }, { "1.2.3.4.5", "4" } };
    for (const auto& [version, build] : cases)
        EXPECT_EQ(about::buildNumberOf(version), build) << version;
    EXPECT_EQ(about::buildNumber(), "234");
}

TEST(AboutBoxLayout, VersionLineCentreLiesFifteenPixelsRightOfTheLogos)
{
    EXPECT_EQ(about::verLeft(312, 200, 71), 152);
    EXPECT_EQ(about::verLeft(312, 201, 71), 152) << "halves round towards zero";
    EXPECT_EQ(about::verLeft(312, 200, 71) + 100, 81 + 312 / 2 + 15);
}

/// Records the URLs the box asks the desktop to open, instead of opening them.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;
    Q_INVOKABLE void open(const QUrl& url) { urls << url; }
};

/// Looks at the box while it is shown, then lets `act` close it.
class InspectingHost final : public app::DialogHost
{
public:
    std::function<void(QDialog&)> act;
    int exec(QDialog& dialog) override
    {
        dialog.show();
        act(dialog);
        return dialog.result();
    }
};

template<typename T>
T& child(QDialog& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr)
        throw std::runtime_error(std::string("no widget ") + name);
    return *widget;
}

TEST(AboutBox, ShowsVersionAndBuildAndOpensBothLinksAsVisited)
{
    UrlRecorder recorder;
    for (const char* scheme : { "http", "mailto" })
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    InspectingHost host;
    bool inspected = false;
    host.act = [&](QDialog& box) {
        inspected = true;
        EXPECT_EQ(box.windowTitle().toStdString(), "About Quorvane 0.99 - build #234");
        auto& ver = child<QLabel>(box, "ver");
        const auto& logo = child<QLabel>(box, "Image1");
        EXPECT_TRUE(ver.text().startsWith(QStringLiteral("Quorvane 0.99 by ")));
        EXPECT_EQ(ver.x(), about::verLeft(logo.width(), ver.width(), 71));
        // No text is cut off with the platform's fonts.
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                continue; // the icon, stretched to its place
            EXPECT_GE(label->width(), label->sizeHint().width())
                << label->objectName().toStdString();
            EXPECT_TRUE(box.rect().contains(QRect(label->mapTo(&box, QPoint()), label->size())))
                << label->objectName().toStdString();
        }

        auto& home = child<about::LinkLabel>(box, "Label5");
        auto& mail = child<about::LinkLabel>(box, "Label1");
        QTest::mouseClick(&home, Qt::LeftButton);
        EXPECT_TRUE(home.visited());
        EXPECT_EQ(home.palette().color(QPalette::WindowText), QColor(128, 0, 128));
        QTest::mouseClick(&mail, Qt::LeftButton);
        EXPECT_TRUE(mail.visited());
        QTest::mouseClick(&child<QPushButton>(box, "OKButton"), Qt::LeftButton);
        EXPECT_EQ(box.result(), QDialog::Accepted);
    };
    about::showAboutBox(nullptr, host);
    EXPECT_TRUE(inspected);
    for (const char* scheme : { "http", "mailto" })
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    ASSERT_EQ(recorder.urls.size(), 2);
    EXPECT_EQ(recorder.urls[0], QUrl(QString::fromUtf8(kWebSite) + QLatin1Char('/')));
    const QUrl& mailto = recorder.urls[1];
    EXPECT_EQ(mailto.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mailto.path(), QString::fromUtf8(kMailAddress));
    const QUrlQuery query(mailto);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
        QStringLiteral("Quorvane 0.99"));
    EXPECT_TRUE(query.queryItemValue(QStringLiteral("Body"), QUrl::FullyDecoded)
                    .startsWith(QStringLiteral("Grazie per aver provato Quorvane 0.99 !")));
}

} // namespace
} // namespace quorvane::test

#include "about_box_test.moc"
