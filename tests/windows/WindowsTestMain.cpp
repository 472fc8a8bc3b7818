// Window tests run on the offscreen platform with one application object.
#include <gtest/gtest.h>

#include "platform/QVApplication.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QVApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
