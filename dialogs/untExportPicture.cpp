#include "dialogs/untExportPicture.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

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

}  // namespace

TfrmExportPicture::TfrmExportPicture(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmExportPicture"));
    setWindowTitle(QStringLiteral("大きさを指定して保存"));
    setFixedSize(400, 246);
    BuildControls();
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
    connect(spnWidth, &QSpinBox::valueChanged, this, [this] { KeepAspect(true); });
    connect(spnHeight, &QSpinBox::valueChanged, this, [this] { KeepAspect(false); });
    connect(btnSave, &QPushButton::clicked, this, &TfrmExportPicture::btnSaveClick);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    SetBusy(false);
}

void TfrmExportPicture::Open(QSize pictureSize)
{
    if (!busy) {
        aspect = pictureSize;
        adjusting = true;
        spnWidth->setValue(pictureSize.width());
        spnHeight->setValue(pictureSize.height());
        adjusting = false;
        cmbSamples->setCurrentIndex(0);
        stExport->clear();
        pbExport->setValue(0);
    }
    BringToFront(this);
}

void TfrmExportPicture::KeepAspect(bool widthChanged)
{
    if (adjusting || !chkAspect->isChecked() || aspect.isEmpty())
        return;
    adjusting = true;
    if (widthChanged)
        spnHeight->setValue(int(std::lround(double(spnWidth->value()) * aspect.height() / aspect.width())));
    else
        spnWidth->setValue(int(std::lround(double(spnHeight->value()) * aspect.width() / aspect.height())));
    adjusting = false;
}

void TfrmExportPicture::btnSaveClick()
{
    if (StartPictureExport(QSize(spnWidth->value(), spnHeight->value()), cmbSamples->currentIndex() + 1))
        SetBusy(true);
}

void TfrmExportPicture::SetBusy(bool on)
{
    busy = on;
    for (QWidget* setting : {static_cast<QWidget*>(spnWidth), static_cast<QWidget*>(spnHeight),
                             static_cast<QWidget*>(chkAspect), static_cast<QWidget*>(cmbSamples),
                             static_cast<QWidget*>(btnSave)})
        setting->setEnabled(!on);
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

void TfrmExportPicture::ExportEnded()
{
    SetBusy(false);
    hide();
}

void TfrmExportPicture::closeEvent(QCloseEvent* event)
{
    // Closing during an export stops it: nothing is written.
    if (busy)
        CancelPictureExport();
    event->accept();
}
