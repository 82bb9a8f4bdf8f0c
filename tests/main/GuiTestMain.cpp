// GoogleTest entry point for tests that draw text or pictures: Qt's font and
// image code needs a QGuiApplication (on the offscreen platform in CTest).
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
