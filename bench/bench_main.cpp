// qv-bench: every benchmark of the program in one table.
#include "BenchData.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {
QtMessageHandler g_standard = nullptr;

// The offscreen platform says at every window that it cannot raise it;
// that is noise between the figures.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_standard)
        g_standard(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int main(int argc, char** argv)
{
    g_standard = qInstallMessageHandler(QuietHandler);
    // The grid benchmarks need widgets; no screen is needed for them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!BenchData::Read_Options(&argc, argv))
        return 2;
    QApplication app(argc, argv);
    BenchData::OpenLargeDataSet();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
