#include "support/VirtualDesktopMain.h"

#include "support/VirtualDesktop.h"

#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

int runOnVirtualDesktop(int argc, char **argv, VirtualDesktop *&desktop)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return RUN_ALL_TESTS();
    }
    VirtualDesktop running;
    if (!running.isReady()) {
        std::fprintf(stderr, "virtual desktop: %s\n", qPrintable(running.error()));
        return 1;
    }
    desktop = &running;
    qputenv("DISPLAY", running.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    desktop = nullptr;
    return result;
}
