// The control is a widget: its tests need a Qt application object.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Drawing tests need no display unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
