#include "dialogs/untExportPicture.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "engine/PictureRenderer.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

namespace {

QSpinBox* SideBox(QWidget* parent, const char* name, int y)
{
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(1, kMaxPictureSide);
    box->setSuffix(QStringLiteral(" px"));
    box->setGeometry(136, y, 120, 26);
    return box;
}

QLabel* Caption(QWidget* parent, const QString& text, int y, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(16, y, 112, 26);
    label->setBuddy(buddy);
    return label;
}

// The sides at the picture's aspect for the side the user typed. Where the
// other would leave 1 to kMaxPictureSide, it takes the limit and the typed
// side follows it.
QSize SidesAtAspect(QSize aspect, bool widthTyped, int typed)
{
    const double ratio = widthTyped ? double(aspect.height()) / aspect.width() : double(aspect.width()) / aspect.height();
    const auto side = [](double exact) { return int(std::clamp(std::lround(exact), 1L, long(kMaxPictureSide))); };
    const int other = side(typed * ratio);
    if (other != std::lround(typed * ratio))
        typed = side(other / ratio);
    return widthTyped ? QSize(typed, other) : QSize(other, typed);
}

// A read-out text too long for the read-out is cut in the middle; its tip
// holds it whole.
void Say(QLabel* readout, const QString& text)
{
    readout->setText(readout->fontMetrics().elidedText(text, Qt::ElideMiddle, readout->contentsRect().width()));
    readout->setToolTip(text);
}

}  // namespace

TfrmExportPicture::TfrmExportPicture(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmExportPicture"));
    setWindowTitle(QStringLiteral("大きさを指定して保存"));
    setFixedSize(400, 246);
    BuildControls();
    // Every render ends by enabling the commands on the picture: the window
    // then follows the view on screen.
    WatchCommand(QVCommand::SavePlace, this, [this](bool) { FollowView(); });
    KeepOnScreen(this);
    CentreOnScreen(this);
}

void TfrmExportPicture::BuildControls()
{
    spnWidth = SideBox(this, "spnWidth", 16);
    Caption(this, QStringLiteral("幅"), 16, spnWidth);
    spnHeight = SideBox(this, "spnHeight", 50);
    Caption(this, QStringLiteral("高さ"), 50, spnHeight);
    chkAspect = Named(new QCheckBox(QStringLiteral("縦横比を保つ"), this), "chkAspect");
    chkAspect->setGeometry(264, 33, 128, 26);
    chkAspect->setChecked(true);
    cmbSamples = Named(new QComboBox(this), "cmbSamples");
    cmbSamples->addItems({QStringLiteral("なし（1×1）"), QStringLiteral("2×2"), QStringLiteral("3×3"), QStringLiteral("4×4")});
    cmbSamples->setGeometry(136, 88, 120, 26);
    Caption(this, QStringLiteral("アンチエイリアス"), 88, cmbSamples);

    pbExport = Named(new QProgressBar(this), "pbExport");
    pbExport->setGeometry(16, 132, 368, 20);
    pbExport->setTextVisible(false);
    stExport = SunkenReadout(this, "stExport", QRect(16, 158, 368, 24));
    // Read as its text, "書き出し中 5% 残り 1:15", and described as what it shows.
    stExport->setAccessibleDescription(QStringLiteral("進み具合"));

    btnSave = Named(new QPushButton(QStringLiteral("保存…"), this), "btnSave");
    btnSave->setGeometry(176, 198, 100, 32);
    btnCancel = Named(new QPushButton(QStringLiteral("キャンセル"), this), "btnCancel");
    btnCancel->setGeometry(284, 198, 100, 32);
    connect(spnWidth, &QSpinBox::valueChanged, this, [this] { SideChanged(true); });
    connect(spnHeight, &QSpinBox::valueChanged, this, [this] { SideChanged(false); });
    connect(chkAspect, &QCheckBox::toggled, this, [this](bool kept) {
        if (kept)
            KeepAspect();
    });
    connect(btnSave, &QPushButton::clicked, this, &TfrmExportPicture::btnSaveClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmExportPicture::btnCancelClick);
    SetBusy(false);
}

void TfrmExportPicture::Open(QSize pictureSize)
{
    if (!busy) {
        aspect = pictureSize;
        sideChosen = false;
        widthChosen = true;
        SetSides(pictureSize);
        cmbSamples->setCurrentIndex(0);
        Say(stExport, QString());
        pbExport->setValue(0);
        SetBusy(false);
    }
    BringToFront(this);
}

void TfrmExportPicture::SetSides(QSize sides)
{
    adjusting = true;
    spnWidth->setValue(sides.width());
    spnHeight->setValue(sides.height());
    adjusting = false;
}

void TfrmExportPicture::SideChanged(bool width)
{
    if (adjusting)
        return;
    sideChosen = true;
    widthChosen = width;
    Say(stExport, QString());
    KeepAspect();
}

void TfrmExportPicture::KeepAspect()
{
    if (!chkAspect->isChecked() || aspect.isEmpty())
        return;
    const int typed = widthChosen ? spnWidth->value() : spnHeight->value();
    const QSize sides = SidesAtAspect(aspect, widthChosen, typed);
    SetSides(sides);
    if ((widthChosen ? sides.width() : sides.height()) != typed)
        Say(stExport, QStringLiteral("縦横比を保つため %1 × %2 px にしました").arg(sides.width()).arg(sides.height()));
}

void TfrmExportPicture::FollowView()
{
    const QSize shown = ExportablePictureSize();
    btnSave->setEnabled(!busy && !shown.isEmpty());
    if (busy || shown.isEmpty() || shown == aspect)
        return;
    aspect = shown;
    if (sideChosen)
        KeepAspect();
    else
        SetSides(shown);
}

void TfrmExportPicture::btnSaveClick()
{
    if (StartPictureExport(QSize(spnWidth->value(), spnHeight->value()), cmbSamples->currentIndex() + 1)) {
        Say(stExport, QString());
        SetBusy(true);
    }
}

void TfrmExportPicture::btnCancelClick()
{
    // "中止" stops the export and keeps the window; "キャンセル" closes it.
    if (busy)
        CancelPictureExport();
    else
        close();
}

void TfrmExportPicture::SetBusy(bool on)
{
    busy = on;
    for (QWidget* setting : {static_cast<QWidget*>(spnWidth), static_cast<QWidget*>(spnHeight),
                             static_cast<QWidget*>(chkAspect), static_cast<QWidget*>(cmbSamples)})
        setting->setEnabled(!on);
    btnSave->setEnabled(!on && !ExportablePictureSize().isEmpty());
    pbExport->setVisible(on);
    btnCancel->setText(on ? QStringLiteral("中止") : QStringLiteral("キャンセル"));
}

void TfrmExportPicture::ShowProgress(int rowsDone, int rows, int secondsLeft)
{
    pbExport->setRange(0, rows);
    pbExport->setValue(rowsDone);
    const int percent = rows > 0 ? int(100LL * rowsDone / rows) : 0;
    QString text = QStringLiteral("書き出し中　%1%").arg(percent);
    if (secondsLeft >= 0)
        text += QStringLiteral("　残り %1:%2").arg(secondsLeft / 60).arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    stExport->setText(text);
}

void TfrmExportPicture::ExportEnded(ExportEnd end, const QString& path)
{
    SetBusy(false);
    FollowView();
    if (end == ExportEnd::Written) {
        Say(stExport, QStringLiteral("保存しました:") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        btnCancel->setText(QStringLiteral("閉じる"));
    } else {
        Say(stExport, end == ExportEnd::Cancelled ? QStringLiteral("中止しました") : QString());
    }
}

void TfrmExportPicture::closeEvent(QCloseEvent* event)
{
    // Closing during an export stops it: nothing is written.
    if (busy)
        CancelPictureExport();
    event->accept();
}
