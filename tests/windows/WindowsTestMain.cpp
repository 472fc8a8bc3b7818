// Window tests run on the offscreen platform with one application object,
// blind to a help file an installed Quorvex may have left in the shared data
// folders, and with no desktop opener (xdg-open) to start a browser.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/QVApplication.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir nothing;
    qputenv("XDG_DATA_HOME", QFile::encodeName(nothing.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(nothing.path()));
    qputenv("PATH", QFile::encodeName(nothing.path()));
    ::testing::InitGoogleTest(&argc, argv);
    QVApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
