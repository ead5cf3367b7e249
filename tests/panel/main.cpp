#include "userint.h"

#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>
#include <vector>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS(); // listing needs no window system
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    if (!InitCVIRTEEx(nullptr, arguments.data(), nullptr))
        return 1;
    return RUN_ALL_TESTS();
}
