// The read-outs as assistive technology reads them, through Qt's own
// accessibility interface: the value shown is the item's name, and the
// caption beside it is tied to it.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>

#include "WindowsFixture.h"
#include "colour/windows/untColorUser.h"
#include "colour/windows/untDisplay1.h"
#include "dialogs/untCoeff.h"
#include "dialogs/untExportPicture.h"

namespace {

QAccessibleInterface* Item(const QWidget* widget) { return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget)); }

// The caption whose buddy `control` is.
const QLabel* CaptionOf(const QWidget* control)
{
    for (const QLabel* label : control->parentWidget()->findChildren<QLabel*>())
        if (label->buddy() == control)
            return label;
    ADD_FAILURE() << "no caption for " << control->objectName().toStdString();
    return nullptr;
}

// Read as a screen reader reads it: the value shown as its name, and the
// caption either labelling it or said in its description.
void ExpectReadWithCaption(const QWidget* window, const char* name, const QLabel* caption)
{
    const QLabel* readout = Find<QLabel>(window, name);
    QAccessibleInterface* item = Item(readout);
    ASSERT_TRUE(item && caption) << name;
    EXPECT_FALSE(readout->text().isEmpty()) << name;
    EXPECT_EQ(item->text(QAccessible::Name).toStdString(), readout->text().toStdString()) << name;
    bool labelled = false;
    for (const auto& [label, relation] : item->relations(QAccessible::Label))
        labelled = labelled || label->object() == caption;
    EXPECT_TRUE(labelled || item->text(QAccessible::Description).contains(caption->text()))
        << name << " says nothing of " << caption->text().toStdString();
}

void ExpectReadWithCaption(const QWidget* window, const char* name, const char* caption)
{
    ExpectReadWithCaption(window, name, Find<QLabel>(window, caption));
}

}  // namespace

class ReadoutAccessibilityTest : public WindowsFixture {
protected:
    void ExpectControlWindowRead()
    {
        const char* readouts[][2] = {{"stCenterX", "StaticText2"}, {"stCenterY", "StaticText3"}, {"stAreaX", "StaticText5"},
                                     {"stAreaY", "StaticText6"},   {"stScale", "StaticText7"},   {"stDrawNest", "StaticText8"},
                                     {"stDrawNestTotal", "StaticText8"}};
        for (const auto& [readout, caption] : readouts)
            ExpectReadWithCaption(control, readout, caption);
    }

    void PressOnEditorMap(int entry)
    {
        auto* image = Find<TQVImage>(windows.colorEditor.get(), "imgColorUser");
        const QPointF at(24 * (entry % 16) + 12, 24 * (entry / 16) + 12);
        QMouseEvent press(QEvent::MouseButtonPress, at, image->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(image, &press);
    }
};

TEST_F(ReadoutAccessibilityTest, TheControlWindowReadsEachValueWithItsCaptionAfterAWholeViewAndAZoom)
{
    StartWholeView(580, 580);
    ExpectControlWindowRead();
    const QString depth = Item(Find<QLabel>(control, "stDrawNest"))->text(QAccessible::Name);
    Zoom(100, 300, 250, 400);
    ExpectControlWindowRead();
    EXPECT_EQ(depth.toStdString(), "1");
    EXPECT_EQ(Item(Find<QLabel>(control, "stDrawNest"))->text(QAccessible::Name).toStdString(), "2");
}

TEST_F(ReadoutAccessibilityTest, EveryOtherWindowReadsEachValueWithItsCaption)
{
    StartWholeView(200, 200);
    drawing->SetPopupRunner([](QMenu* menu, QPoint) { Find<QAction>(menu, "N1")->trigger(); });
    drawing->imgQVViewMouseDown(Qt::RightButton, 30, 40);
    QApplication::processEvents();
    const QWidget* info = windows.pixelInformation.get();
    const char* pixelReadouts[][2] = {{"stPixX", "Label2"}, {"stPixY", "Label3"}, {"stRe", "Label5"}, {"stIm", "Label6"},
                                      {"stPal", "Label8"},  {"stRR", "Label9"},   {"stGG", "Label10"}, {"stBB", "Label11"}};
    for (const auto& [readout, caption] : pixelReadouts)
        ExpectReadWithCaption(info, readout, caption);

    // A coefficient's caption labels its bar; the read-out beside it says it.
    const QWidget* coefficients = windows.coefficients.get();
    for (const char* part : {"GzRe", "GzIm", "ItRe", "ItIm", "RmRe", "RmIm", "MuRe", "MuIm", "OgRe", "OgIm"}) {
        const QByteArray bar = QByteArray("tb").append(part);
        ExpectReadWithCaption(coefficients, QByteArray("st").append(part).constData(),
                              CaptionOf(Find<QSlider>(coefficients, bar.constData())));
    }

    OpenColorMapEditor();
    PressOnEditorMap(37);
    const QWidget* editor = windows.colorEditor.get();
    const char* editorReadouts[][2] = {{"stPal", "lblPal"}, {"stRR", "lblRR"}, {"stGG", "lblGG"}, {"stBB", "lblBB"},
                                       {"stBunkatuNo", "lblBunkatuNo"}, {"stBunkatuSz", "lblBunkatuSz"}};
    for (const auto& [readout, caption] : editorReadouts)
        ExpectReadWithCaption(editor, readout, caption);
    EXPECT_EQ(Item(Find<QLabel>(editor, "stPal"))->text(QAccessible::Name).toStdString(), "37");

    TfrmExportPicture* exportWindow = windows.exportPicture.get();
    exportWindow->ShowProgress(5, 100, 75);
    const QLabel* stExport = Find<QLabel>(exportWindow, "stExport");
    EXPECT_EQ(Item(stExport)->text(QAccessible::Name).toStdString(), stExport->text().toStdString());
    EXPECT_TRUE(Item(stExport)->text(QAccessible::Name).contains("1:15"));
}
