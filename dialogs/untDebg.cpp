#include "dialogs/untDebg.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "engine/Diagnostics.h"
#include "engine/EngineState.h"
#include "platform/QtSupport.h"
#include "platform/ScreenPlacement.h"

TfrmDebg* frmDebg = nullptr;

namespace {

constexpr int kOuterWidth = 699;
constexpr int kOuterHeight = 663;
// Left and right frame together.
constexpr int kSideFrames = 6;
constexpr int kRowHeight = 24;

// A grid whose heading row is its header and whose heading column holds
// cells that look fixed and cannot be selected.
QTableWidget* StringGrid(QWidget* parent, const char* name, const QStringList& headings, int dataRows)
{
    auto* grid = Named(new QTableWidget(dataRows, int(headings.size()), parent), name);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setFixedHeight(kRowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fifteen digits and a sign fit the columns in the small face; a longer
    // text is cut at the cell's edge, never elided in the middle of a number.
    QFont small = grid->font();
    small.setPixelSize(12);
    grid->setFont(small);
    grid->horizontalHeader()->setFont(small);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    for (int row = 0; row < dataRows; ++row) {
        for (int column = 0; column < headings.size(); ++column)
            grid->setItem(row, column, new QTableWidgetItem);
        QTableWidgetItem* heading = grid->item(row, 0);
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setBackground(QApplication::palette().button());
    }
    return grid;
}

void SetColumn(QTableWidget* grid, int column, const auto& texts)
{
    for (int row = 0; row < int(texts.size()); ++row)
        grid->item(row, column)->setText(QString::fromStdString(texts[size_t(row)]));
}

}  // namespace

TfrmDebg::TfrmDebg(QPoint topLeft, int frameHeight, QWidget* parent) : QWidget(parent, Qt::Window)
{
    frmDebg = this;
    setObjectName(QStringLiteral("frmDebg"));
    setWindowTitle(QStringLiteral("dpDebg"));
    setFixedSize(kOuterWidth - kSideFrames, kOuterHeight - frameHeight);
    BuildGrids();
    KeepOnScreen(this);
    PlaceOnScreen(this, topLeft);
}

TfrmDebg::~TfrmDebg()
{
    if (frmDebg == this)
        frmDebg = nullptr;
}

void TfrmDebg::BuildGrids()
{
    sgDebg = StringGrid(this, "sgDebg", {QStringLiteral("No"), QStringLiteral("dpCurr"), QStringLiteral("dpNext")},
                        int(kViewRecordRowNames.size()) - 1);
    sgDebg->setGeometry(8, 8, 389, 509);
    sgDebg->setColumnWidth(0, 64);
    sgDebg->setColumnWidth(1, 129);
    sgDebg->setColumnWidth(2, 131);
    for (size_t row = 1; row < kViewRecordRowNames.size(); ++row)
        sgDebg->item(int(row) - 1, 0)->setText(QString::fromLatin1(kViewRecordRowNames[row]));

    auto* btnSetMk = Named(new QPushButton(QStringLiteral("カウント表示"), this), "btnSetMk");
    btnSetMk->setGeometry(8, 529, 129, 32);
    connect(btnSetMk, &QPushButton::clicked, this, &TfrmDebg::btnSetMkClick);

    sgMk = StringGrid(this, "sgMk", {QStringLiteral("No"), QStringLiteral("Count")}, int(EscapeHistogram.size()));
    sgMk->setGeometry(width() - 8 - 241, 8, 241, 601);
    sgMk->setColumnWidth(0, 64);
    sgMk->setColumnWidth(1, 133);
    sgMk->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int row = 0; row < sgMk->rowCount(); ++row)
        sgMk->item(row, 0)->setText(QString::number(row));
}

void TfrmDebg::FillGrid(int pictureControlWidth, int pictureWidth)
{
    SetColumn(sgDebg, 1, ViewRecordColumn(dpCurr, pictureControlWidth));
    SetColumn(sgDebg, 2, ViewRecordColumn(dpNext, pictureWidth));
}

void TfrmDebg::btnSetMkClick()
{
    SetColumn(sgMk, 1, HistogramColumn(EscapeHistogram));
    // Below the counters, at a limit above 256, the range of the counts.
    const std::vector<GridRow> range = CountRangeRows(LastCountSummary);
    const int counters = int(EscapeHistogram.size());
    sgMk->setRowCount(counters + int(range.size()));
    for (size_t i = 0; i < range.size(); ++i) {
        const int row = counters + int(i);
        for (int column = 0; column < 2; ++column)
            if (!sgMk->item(row, column))
                sgMk->setItem(row, column, new QTableWidgetItem);
        sgMk->item(row, 0)->setText(QString::fromStdString(range[i].label));
        sgMk->item(row, 1)->setText(QString::fromStdString(range[i].value));
    }
}
