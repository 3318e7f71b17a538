#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Lists are drawn with fonts and a painter, never on a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
