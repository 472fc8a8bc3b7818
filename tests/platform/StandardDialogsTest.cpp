#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/QVDialogs.h"
#include "platform/ScreenPlacement.h"

namespace {

// The program's own dialogs, answered by a timer as a user would.
class StandardDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogs(nullptr); }

    template <typename Dialog>
    static void WhenOpen(std::function<void(Dialog*)> answer)
    {
        QTimer::singleShot(0, [answer] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
                answer(dialog);
        });
    }
};

TEST_F(StandardDialogsTest, TheOpenDialogAddsTheFilterExtensionToANameTypedWithoutOne)
{
    QTemporaryDir folder;
    QFile(folder.filePath(QStringLiteral("mymap.col"))).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    WhenOpen<QFileDialog>([](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("mymap"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString chosen = Dialogs().GetOpenFileName(nullptr, QStringLiteral("カラー設定ファイル (*.col)"));
    QDir::setCurrent(previous);
    EXPECT_EQ(QFileInfo(chosen).fileName(), QStringLiteral("mymap.col"));
}

TEST_F(StandardDialogsTest, AnErrorBoxOpensCentredOverTheWindowItSpeaksForAndOnTheScreen)
{
    SetAvailableScreenAreaForTests(QRect(0, 0, 1280, 1024));
    for (const QPoint at : {QPoint(700, 500), QPoint(8, 8)}) {
        QWidget window;
        window.resize(600, 400);
        window.move(at);
        window.show();
        QRect shown;
        WhenOpen<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->frameGeometry();
            box->reject();
        });
        Dialogs().ShowError(&window, QStringLiteral("ヘルプファイルがありません:Qorvix.html"));
        ASSERT_FALSE(shown.isNull());
        EXPECT_NEAR(shown.center().x(), window.frameGeometry().center().x(), 2);
        EXPECT_NEAR(shown.center().y(), window.frameGeometry().center().y(), 40);
        EXPECT_TRUE(QRect(0, 0, 1280, 1024).contains(shown));
    }
    SetAvailableScreenAreaForTests(std::nullopt);
}

}  // namespace
