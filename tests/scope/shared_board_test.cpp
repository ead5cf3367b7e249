// The scope beside other programs on the shared simulated board, in real time: one that
// holds the converter for as long as it acquires, one that holds a port, orvex-sim pressing
// a switch, and zelbrin, whose analog monitor takes the converter only for each reading.
#include "core/scope_setup.h"
#include "event_wait.h"
#include "window/scope_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace scope {
namespace {

using scope_test::waitFor;

// A slow rolling scan of ai0, the scope's default channel.
void runRolling(ScopeWindow &window) {
    ScopeSetup setup;
    setup.mode = SweepMode::Roll;
    setup.rate = 10000.0;
    setup.historyBound = 1'000'000;
    window.applySetup(setup);
    window.show();
    window.run();
}

TEST(SharedBoardScopeTest, AnotherProgramHoldingTheConverterIsNamedAndTheScopeGoesOnWhenItEnds) {
    QTemporaryDir folder;
    QProcess holder;
    holder.start(ORVEX_TOOL, {"ai", "acquire", "2", "--rate", "1000", "--duration", "2.5",
                              "--output", folder.filePath("ai2.csv")});
    ASSERT_TRUE(holder.waitForStarted());
    QTest::qWait(500);

    ScopeWindow window;
    runRolling(window);
    const QString holderProcess = QString("process %1").arg(holder.processId());
    EXPECT_TRUE(waitFor([&] { return window.message().contains(holderProcess); }, 2000))
        << window.message().toStdString();
    EXPECT_EQ(window.history()->total(), 0);

    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(holder.exitCode(), 0) << holder.readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&] { return window.history()->total() > 1000; }, 3000));
    EXPECT_FALSE(window.message().contains(holderProcess)) << window.message().toStdString();
    window.stop();
    EXPECT_EQ(window.history()->total(), window.boardSamplesRead());
}

TEST(SharedBoardScopeTest, APortAnotherProgramHoldsIsNotTakenAndItsLinesAreReadOnceFree) {
    QTemporaryDir folder;
    QProcess holder;
    // Port 1 held as inputs by a script that then generates for two seconds and a half.
    holder.start(ORVEX_TOOL, {"run", "-"});
    ASSERT_TRUE(holder.waitForStarted());
    holder.write("port read 1\nao generate 1 --rate 1000 --sine 5,1 --duration 2.5\n");
    holder.closeWriteChannel();
    QTest::qWait(500);

    ScopeWindow window;
    ScopeSetup setup;
    setup.mode = SweepMode::Roll;
    setup.rate = 10000.0;
    setup.historyBound = 1'000'000;
    setup.lines = 1u << (linesPerPort + 4); // S1
    window.applySetup(setup);
    window.show();
    window.run();
    const QString holderProcess = QString("process %1").arg(holder.processId());
    EXPECT_TRUE(waitFor([&] { return window.message().contains(holderProcess); }, 2000))
        << window.message().toStdString();
    EXPECT_TRUE(window.message().contains("digital lines")) << window.message().toStdString();
    // The analog inputs go on meanwhile.
    EXPECT_TRUE(waitFor([&] { return window.history()->total() > 1000; }, 2000));
    const auto s1 = [&] {
        return window.lines().stateAt(linesPerPort + 4, window.history()->total() - 1);
    };
    EXPECT_EQ(s1(), LineState::Unknown);

    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(holder.exitCode(), 0) << holder.readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([&] { return s1() != LineState::Unknown; }, 3000));
    EXPECT_FALSE(window.message().contains(holderProcess)) << window.message().toStdString();
    window.stop();
    // Released at Stop: another program may take the port again.
    EXPECT_EQ(QProcess::execute(ORVEX_TOOL, {"--quiet", "port", "read", "1"}), 0);
}

// A switch pressed from another process, as a bench operator does with orvex-sim, shows as
// a falling edge on its line's trace within a block or two of the press.
TEST(SharedBoardScopeTest, ASwitchPressedWithOrvexSimIsAnEdgeOnItsLine) {
    ScopeWindow window;
    ScopeSetup setup;
    setup.mode = SweepMode::Roll;
    setup.rate = 10000.0;
    setup.historyBound = 1'000'000;
    constexpr int s1 = linesPerPort + 4;
    setup.lines = 1u << s1;
    window.applySetup(setup);
    window.show();
    window.run();
    const auto newest = [&] {
        const long long total = window.history() ? window.history()->total() : 0;
        return total > 0 ? window.lines().stateAt(s1, total - 1) : LineState::Unknown;
    };
    ASSERT_TRUE(waitFor([&] { return newest() == LineState::High; }))
        << window.message().toStdString();
    const long long before = window.history()->total();

    ASSERT_EQ(QProcess::execute(ORVEX_SIM_TOOL, {"stand", "press", "S1"}), 0);
    EXPECT_TRUE(waitFor([&] { return newest() == LineState::Low; }));
    const long long after = window.history()->total();
    const std::optional<double> edge = window.lines().newestEdge(s1, false, 0, after);
    ASSERT_TRUE(edge);
    EXPECT_GE(*edge, double(before - 1));
    EXPECT_EQ(QProcess::execute(ORVEX_SIM_TOOL, {"stand", "release", "S1"}), 0);
    window.stop();
}

// Zelbrin reads ai2 and ai3 on demand at every sampling tick, so it never keeps the
// converter from a scan for longer than a reading; while the scope's scan holds it,
// zelbrin's readings are refused with the scope's name, and they go on once it stops.
TEST(SharedBoardScopeTest, ZelbrinBesideTheScopeIsRefusedWithTheScopesNameAndReadsAgainAfterStop) {
    QProcess zelbrin;
    zelbrin.start(ZELBRIN_PROGRAM, {});
    ASSERT_TRUE(zelbrin.waitForStarted());
    QString zelbrinErrors;
    const auto refusalsSoFar = [&] {
        zelbrinErrors += QString::fromLocal8Bit(zelbrin.readAllStandardError());
        return zelbrinErrors.count("-50103");
    };
    QTest::qWait(1000); // its window up and its sampling timer running

    ScopeWindow window;
    runRolling(window);
    // A start that met one of zelbrin's readings is tried again within a second.
    EXPECT_TRUE(waitFor([&] { return window.history()->total() > 5000; }, 3000))
        << window.message().toStdString();
    const QString scopeProcess = QString("of process %1").arg(QCoreApplication::applicationPid());
    EXPECT_TRUE(waitFor([&] { return refusalsSoFar() > 0; }, 10000));
    EXPECT_TRUE(zelbrinErrors.contains(scopeProcess)) << zelbrinErrors.toStdString();
    window.stop();
    EXPECT_EQ(window.history()->total(), window.boardSamplesRead());

    // A tick of zelbrin's may have been refused as the scan stopped; none after it.
    QTest::qWait(300);
    const int refusedWhileScanning = refusalsSoFar();
    QTest::qWait(1000);
    EXPECT_EQ(refusalsSoFar(), refusedWhileScanning) << zelbrinErrors.toStdString();
    zelbrin.terminate();
    ASSERT_TRUE(zelbrin.waitForFinished(10000));
    EXPECT_EQ(zelbrin.exitCode(), 0) << zelbrinErrors.toStdString();
}

} // namespace
} // namespace scope
