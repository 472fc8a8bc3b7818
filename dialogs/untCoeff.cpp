#include "dialogs/untCoeff.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "engine/EngineState.h"
#include "engine/NumberFormat.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmSetCoeff* frmSetCoeff = nullptr;

namespace {

constexpr int kClientWidth = 747;
constexpr int kClientHeight = 693;
constexpr int kPanelLeft = 8;
constexpr int kPanelWidth = kClientWidth - 2 * kPanelLeft;
constexpr int kRowHeight = 40;
constexpr int kReadoutLeft = 150;
constexpr int kReadoutWidth = 144;
constexpr int kBarLeft = 310;
constexpr int kBarWidth = 409;

QFont FormulaFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(40);
    return font;
}

QFrame* RaisedPanel(QWidget* parent, const char* name)
{
    auto* panel = Named(new QFrame(parent), name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

// A line of the formula in the large face; "<sup>" raises small digits.
QLabel* FormulaText(const QString& richText, QWidget* parent)
{
    auto* label = new QLabel(richText, parent);
    label->setTextFormat(Qt::RichText);
    label->setFont(FormulaFont());
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

TfrmSetCoeff::TfrmSetCoeff(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    frmSetCoeff = this;
    setObjectName(QStringLiteral("frmSetCoeff"));
    setWindowTitle(QStringLiteral("係数設定"));
    setFixedSize(kClientWidth, kClientHeight);
    BuildFormulaPanels();
    BuildSetC();
    BuildSelection();
    KeepOnScreen(this);
    CentreOnScreen(this);

    pnFormula->show();
    pnFormula2->hide();
    ShowParams();
}

TfrmSetCoeff::~TfrmSetCoeff()
{
    if (frmSetCoeff == this)
        frmSetCoeff = nullptr;
}

void TfrmSetCoeff::BuildFormulaPanels()
{
    const QRect place(kPanelLeft, 8, kPanelWidth, 120);

    pnFormula = RaisedPanel(this, "pnFormula");
    pnFormula->setGeometry(place);
    pnFormula->setAccessibleName(QStringLiteral("ξＺ⁴ ＋ ηＺ³ ＋ λＺ² ＋ μＺ ＋ α"));
    auto* polynomial = new QHBoxLayout(pnFormula);
    polynomial->addWidget(FormulaText(
        QStringLiteral("ξＺ<sup>４</sup> ＋ ηＺ<sup>３</sup> ＋ λＺ<sup>２</sup> ＋ μＺ ＋ α"), pnFormula));

    pnFormula2 = RaisedPanel(this, "pnFormula2");
    pnFormula2->setGeometry(place);
    pnFormula2->setAccessibleName(QStringLiteral("Ｚ²(Ｚ－ξ) ／ (Ｚ－η)"));
    auto* fraction = new QVBoxLayout(pnFormula2);
    fraction->setSpacing(2);
    fraction->addStretch();
    fraction->addWidget(FormulaText(QStringLiteral("Ｚ<sup>2</sup>(Ｚ－ξ)"), pnFormula2), 0, Qt::AlignHCenter);
    auto* rule = new QFrame(pnFormula2);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    rule->setLineWidth(2);
    rule->setFixedWidth(260);
    fraction->addWidget(rule, 0, Qt::AlignHCenter);
    fraction->addWidget(FormulaText(QStringLiteral("Ｚ－η"), pnFormula2), 0, Qt::AlignHCenter);
    fraction->addStretch();
}

TfrmSetCoeff::CoefficientRow TfrmSetCoeff::AddRow(CoefficientPart part, const char* readoutName, const char* barName,
                                                  const QString& caption, int top)
{
    CoefficientRow row;
    row.part = part;
    auto* label = new QLabel(caption, pnSetC);
    label->setGeometry(24, top, kReadoutLeft - 32, kRowHeight - 8);

    row.readout = SunkenReadout(pnSetC, readoutName, QRect(kReadoutLeft, top + 4, kReadoutWidth, kRowHeight - 16));
    // The caption labels the bar; the read-out beside it says it as its description.
    row.readout->setAccessibleDescription(caption);

    row.bar = Named(new QSlider(Qt::Horizontal, pnSetC), barName);
    row.bar->setRange(kCoefficientBarMin, kCoefficientBarMax);
    row.bar->setPageStep(kCoefficientBarPage);
    row.bar->setSingleStep(1);
    row.bar->setTickInterval(kCoefficientBarTick);
    row.bar->setTickPosition(QSlider::TicksBelow);
    row.bar->setGeometry(kBarLeft, top, kBarWidth, kRowHeight - 8);
    row.bar->installEventFilter(this);
    label->setBuddy(row.bar);
    return row;
}

void TfrmSetCoeff::BuildSetC()
{
    pnSetC = RaisedPanel(this, "pnSetC");
    pnSetC->setGeometry(kPanelLeft, 136, kPanelWidth, 468);
    int top = 8;
    const auto add = [this, &top](size_t index, CoefficientPart part, const char* readoutName, const char* barName,
                                  const QString& caption) {
        rows[index] = AddRow(part, readoutName, barName, caption, top);
        top += kRowHeight;
    };
    add(0, CoefficientPart::GzRe, "stGzRe", "tbGzRe", QStringLiteral("Ｒｅ（ξ）"));
    add(1, CoefficientPart::GzIm, "stGzIm", "tbGzIm", QStringLiteral("Ｉｍ（ξ）"));
    add(2, CoefficientPart::ItRe, "stItRe", "tbItRe", QStringLiteral("Ｒｅ（η）"));
    add(3, CoefficientPart::ItIm, "stItIm", "tbItIm", QStringLiteral("Ｉｍ（η）"));
    add(4, CoefficientPart::RmRe, "stRmRe", "tbRmRe", QStringLiteral("Ｒｅ（λ）"));
    add(5, CoefficientPart::RmIm, "stRmIm", "tbRmIm", QStringLiteral("Ｉｍ（λ）"));
    add(6, CoefficientPart::MuRe, "stMuRe", "tbMuRe", QStringLiteral("Ｒｅ（μ）"));
    add(7, CoefficientPart::MuIm, "stMuIm", "tbMuIm", QStringLiteral("Ｉｍ（μ）"));

    auto* heading = new QLabel(QStringLiteral("全景描画時の描画矩形中心座標"), pnSetC);
    heading->setGeometry(16, top + 4, kPanelWidth - 32, 24);
    top += 36;

    add(8, CoefficientPart::OgRe, "stOgRe", "tbOgRe", QStringLiteral("Ｒｅ（ο）"));
    add(9, CoefficientPart::OgIm, "stOgIm", "tbOgIm", QStringLiteral("Ｉｍ（ο）"));

    for (const CoefficientRow& row : rows)
        connect(row.bar, &QSlider::valueChanged, this, [this, row] { tbChange(row); });
}

void TfrmSetCoeff::BuildSelection()
{
    auto* rgSelFormula = Named(new QGroupBox(QStringLiteral("関数選択"), this), "rgSelFormula");
    rgSelFormula->setGeometry(kPanelLeft, 612, 420, 72);
    auto* rgSelFormulaItems = Named(new QButtonGroup(rgSelFormula), "rgSelFormulaItems");
    auto* columns = new QGridLayout(rgSelFormula);
    const QString items[] = {QStringLiteral("多項式"), QStringLiteral("有理型関数")};
    for (int index = 0; index < 2; ++index) {
        auto* item = new QRadioButton(items[index], rgSelFormula);
        rgSelFormulaItems->addButton(item, index);
        columns->addWidget(item, 0, index);
    }
    rgSelFormulaItems->button(0)->setChecked(true);
    connect(rgSelFormulaItems, &QButtonGroup::idClicked, this, &TfrmSetCoeff::rgSelFormulaClick);

    auto* btnOk = Named(new QPushButton(QStringLiteral("ＯＫ"), this), "btnOk");
    btnOk->setGeometry(kClientWidth - kPanelLeft - 112, 636, 112, 40);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSetCoeff::btnOkClick);
}

void TfrmSetCoeff::ShowPart(const CoefficientRow& row)
{
    row.readout->setText(QString::fromStdString(FormatCoefficient(PartOf(EditedParams, row.part))));
}

void TfrmSetCoeff::ShowParams()
{
    for (const CoefficientRow& row : rows)
        ShowPart(row);
    // A bar that moves raises its change, which writes the part as a whole
    // position again; an unchanged position raises nothing.
    for (const CoefficientRow& row : rows)
        row.bar->setValue(PositionOfCoefficient(PartOf(EditedParams, row.part)));
}

void TfrmSetCoeff::tbChange(const CoefficientRow& row)
{
    SetEditedPartAt(row.part, row.bar->value());
    ShowPart(row);
}

bool TfrmSetCoeff::tbKeyPress(const CoefficientRow& row, const QString& key)
{
    const std::optional<int> position = StepEditedPartByKey(row.part, key.toStdString());
    if (!position)
        return false;
    row.bar->setValue(*position);
    ShowPart(row);
    return true;
}

bool TfrmSetCoeff::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString key = static_cast<QKeyEvent*>(event)->text();
        for (const CoefficientRow& row : rows)
            if (row.bar == watched)
                return tbKeyPress(row, key);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmSetCoeff::rgSelFormulaClick(int index)
{
    pnFormula->setVisible(index == 0);
    pnFormula2->setVisible(index != 0);
}

void TfrmSetCoeff::btnOkClick() { close(); }
