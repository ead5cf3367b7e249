// The panel benchmarks run on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "userint.h"

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>
#include <vector>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    static std::vector<char *> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    if (!InitCVIRTEEx(nullptr, arguments.data(), nullptr)) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
