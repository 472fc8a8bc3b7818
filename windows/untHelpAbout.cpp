#include "windows/untHelpAbout.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmHelpAbout* frmHelpAbout = nullptr;

namespace {

QFont GothicFont(int pixelSize)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

TfrmHelpAbout::TfrmHelpAbout(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmHelpAbout = this;
    setObjectName(QStringLiteral("frmHelpAbout"));
    setWindowTitle(QStringLiteral("バージョン＆ヘルプ"));
    setFixedSize(565, 321);

    auto* imgHelpAbout = Named(new QLabel(this), "imgHelpAbout");
    imgHelpAbout->setGeometry(24, 24, 512, 96);
    imgHelpAbout->setPixmap(QPixmap(QStringLiteral(":/quorvex/banner.png")));
    imgHelpAbout->setAccessibleName(QStringLiteral("Quorvex"));

    AddLabel("Label1", QStringLiteral("Version 1.1"), 19, 152);
    AddLabel("Label3", QStringLiteral("制作：Quorvex プロジェクト"), 19, 192);
    AddLabel("Label2", QStringLiteral("リリース：２００３年７月"), 19, 232);
    lblMail = AddLabel("lblMail", QString(), 19, 272);
    lblMail->installEventFilter(this);

    auto* btnOk = Named(new QPushButton(QStringLiteral("ＯＫ"), this), "btnOk");
    btnOk->setFont(GothicFont(23));
    btnOk->setGeometry(415, 251, 122, 49);
    connect(btnOk, &QPushButton::clicked, this, &TfrmHelpAbout::btnOkClick);

    FormCreate();
    KeepOnScreen(this);
    CentreOnScreen(this);
}

TfrmHelpAbout::~TfrmHelpAbout()
{
    if (frmHelpAbout == this)
        frmHelpAbout = nullptr;
}

QLabel* TfrmHelpAbout::AddLabel(const char* name, const QString& text, int x, int y)
{
    auto* label = Named(new QLabel(text, this), name);
    label->setFont(GothicFont(20));
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TfrmHelpAbout::FormCreate()
{
    lblMail->setText(QString::fromLatin1(kMailLink));
    QFont underlined = lblMail->font();
    underlined.setUnderline(true);
    lblMail->setFont(underlined);
    lblMail->adjustSize();
    mailColors = lblMail->palette();
}

void TfrmHelpAbout::btnOkClick() { hide(); }

bool TfrmHelpAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblMail) {
        switch (event->type()) {
        case QEvent::Enter: lblMailMouseEnter(); break;
        case QEvent::Leave: lblMailMouseLeave(); break;
        case QEvent::MouseButtonDblClick: lblMailDblClick(); return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmHelpAbout::lblMailMouseEnter()
{
    lblMail->setCursor(Qt::PointingHandCursor);
    QPalette hover = mailColors;
    hover.setColor(QPalette::Window, hover.color(QPalette::Highlight));
    hover.setColor(QPalette::WindowText, hover.color(QPalette::HighlightedText));
    lblMail->setPalette(hover);
    lblMail->setAutoFillBackground(true);
}

void TfrmHelpAbout::lblMailMouseLeave()
{
    lblMail->unsetCursor();
    lblMail->setAutoFillBackground(false);
    lblMail->setPalette(mailColors);
}

void TfrmHelpAbout::lblMailDblClick() { Dialogs().OpenWithShell(QString::fromLatin1(kMailLink), nullptr); }
