// The About box: product, version and build, the maker's links and the thanks.
#include "taboutbox.h"
#include "app/tlanguage_controller.h"

#include "exe_info.h"
#include "link_label.h"

#include "app/dialog_host.h"
#include "lang/language_manager.h"
#include "lang/text_format.h"
#include "platform/name_codec.h"

#include <quorvane_version.h>

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvane::about {

namespace {

// Left to the maker: who signs the program and whom it thanks.
constexpr char kAuthorName[] = "the Quorvane team";
constexpr char kThanks[] = "Anna Ferri, Luca Moretti, Giulia Russo, Marco Bianchi, Sara Conti";

// The header's arrangement: icon at the left, logo beside it, the version line below.
constexpr QRect kIconRect { 7, 10, 71, 71 };
constexpr QRect kLogoRect { 81, 13, 312, 52 };
constexpr int kVerTop = 66;
constexpr QSize kHeaderSize { 400, 90 };

/// The program's icon (a page of lines and an arrow), as packaging/quorvane.svg draws it.
QPixmap programIconPixmap(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 64.0, side / 64.0);
    painter.setPen(QPen(QColor(0x5a, 0x5a, 0x5a), 2));
    painter.setBrush(QColor(0xf4, 0xf4, 0xf4));
    painter.drawRoundedRect(QRectF(6, 10, 34, 44), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9a, 0x9a, 0x9a));
    painter.drawRect(QRectF(12, 18, 22, 4));
    painter.drawRect(QRectF(12, 28, 22, 4));
    painter.drawRect(QRectF(12, 38, 16, 4));
    QPainterPath arrow;
    arrow.moveTo(36, 30);
    for (const QPointF& p : { QPointF(50, 30), QPointF(50, 23), QPointF(61, 34), QPointF(50, 45),
             QPointF(50, 38), QPointF(36, 38) })
        arrow.lineTo(p);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x1d, 0x4f, 0x8c), 1.5));
    painter.setBrush(QColor(0x2f, 0x7b, 0xd6));
    painter.drawPath(arrow);
    return pixmap;
}

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

int verLeft(int logoWidth, int verWidth, int iconWidth)
{
    return logoWidth / 2 - verWidth / 2 + iconWidth + 25;
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setBackgroundRole(QPalette::Base);
    panel->setAutoFillBackground(true);
    buildHeader(panel);

    auto* RichEdit1 = label("RichEdit1",
        QStringLiteral("\nNon ho mai avuto problemi usando correttamente Quorvane,\n"
                       "ma non mi ritengo responsabile di eventuali danni ai vostri dati."),
        panel);
    RichEdit1->setAlignment(Qt::AlignHCenter);

    auto* Label7 = label("Label7", QStringLiteral("Homepage: "), panel);
    Label7->setEnabled(false);
    Label5 = new LinkLabel(QString::fromUtf8(kWebSite), panel);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setToolTip(QStringLiteral("Visita il mio sito"));
    auto* Label10 = label("Label10", QStringLiteral("E-Mail:"), panel);
    Label10->setEnabled(false);
    Label1 = new LinkLabel(QString::fromUtf8(kMailAddress), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setToolTip(QStringLiteral("Mandami una Mail"));
    auto* links = new QGridLayout;
    links->setContentsMargins(0, 0, 0, 0);
    links->setHorizontalSpacing(0);
    links->setColumnMinimumWidth(0, 68);
    links->addWidget(Label7, 0, 0);
    links->addWidget(Label5, 0, 1, Qt::AlignLeft);
    links->addWidget(Label10, 1, 0);
    links->addWidget(Label1, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* RichEdit2 = label("RichEdit2",
        QStringLiteral("Mandatemi una Email, se volete essere avvisati dell'uscita di nuove "
                       "versioni.\nSono graditi commenti e suggerimenti per migliorare Quorvane."),
        panel);
    RichEdit2->setAlignment(Qt::AlignHCenter);
    QPalette blue = RichEdit2->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    RichEdit2->setPalette(blue);

    auto* Label3 = label(
        "Label3", QStringLiteral("Thanks to Betatester, Debuggers and Translators:"), panel);
    auto* Label2 = label("Label2", QString::fromUtf8(kThanks), panel);
    Label2->setToolTip(
        QStringLiteral("Amici che mi hanno aiutato nello sviluppo e nella traduzione di Quorvane"));

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(7, 2, 7, 8);
    panelLayout->setSpacing(4);
    panelLayout->addWidget(m_header, 0, Qt::AlignHCenter);
    panelLayout->addWidget(RichEdit1);
    panelLayout->addSpacing(4);
    panelLayout->addLayout(links);
    panelLayout->addSpacing(8);
    panelLayout->addWidget(RichEdit2);
    panelLayout->addSpacing(4);
    panelLayout->addWidget(Label3);
    panelLayout->addWidget(Label2);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setMinimumSize(130, 27);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Label5, &LinkLabel::clicked, this, &TAboutBox::Label5Click);
    connect(Label1, &LinkLabel::clicked, this, &TAboutBox::Label1Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(8);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    // A fixed dialog frame, as large as its texts need with the platform's fonts.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Last: the texts as built are the form's Italian defaults.
    new app::TLanguageController(this, "AboutBox");
}

void TAboutBox::buildHeader(QWidget* panel)
{
    m_header = new QWidget(panel);
    m_header->setFixedSize(kHeaderSize);
    ProgramIcon = label("ProgramIcon", {}, m_header);
    ProgramIcon->setGeometry(kIconRect);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programIconPixmap(kIconRect.width() * 2));
    Image1 = label("Image1", QStringLiteral("Quorvane"), m_header);
    Image1->setGeometry(kLogoRect);
    Image1->setAlignment(Qt::AlignCenter);
    QFont logo = Image1->font();
    logo.setPixelSize(40);
    logo.setBold(true);
    logo.setItalic(true);
    Image1->setFont(logo);
    QPalette logoColours = Image1->palette();
    logoColours.setColor(QPalette::WindowText, QColor(0x1d, 0x4f, 0x8c));
    Image1->setPalette(logoColours);
    ver = label("ver", {}, m_header);
    QFont verFont = ver->font();
    verFont.setPixelSize(15);
    ver->setFont(verFont);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAboutBox::FormShow()
{
    ver->setText(
        QString::fromUtf8(kProgramTitle) + QStringLiteral(" by ") + QString::fromUtf8(kAuthorName));
    ver->adjustSize();
    // Centred under the logo by the rule, but never pushed out of the box by a long text.
    const int left = verLeft(Image1->width(), ver->width(), ProgramIcon->width());
    ver->move(std::clamp(left, 0, std::max(0, m_header->width() - ver->width())), kVerTop);
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(kProgramTitle)
        + QStringLiteral(" - build #") + QString::fromStdString(buildNumber()));
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TAboutBox::Label5Click()
{
    Label5->markVisited();
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(kWebSite) + QLatin1Char('/')));
}

void TAboutBox::Label1Click()
{
    Label1->markVisited();
    QDesktopServices::openUrl(makerMailLink());
}

QUrl makerMailLink()
{
    // The subject and the body both name the version the mail is about.
    const std::u32string version = platform::decodeName(kProgramTitle);
    const std::u32string link
        = lang::formatText(lang::LookupConstant(lang::id::MAIL_LINK), { version, version });
    return { QString::fromStdU32String(link) };
}

void showAboutBox(QWidget* parent, app::DialogHost& dialogs)
{
    TAboutBox box(parent);
    dialogs.exec(box);
}

} // namespace quorvane::about
