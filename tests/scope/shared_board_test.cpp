// The scope beside another program on the shared simulated board, in real time.
#include "core/scope_setup.h"
#include "window/scope_window.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace scope {
namespace {

bool waitFor(const std::function<bool()> &condition, int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < milliseconds) {
        QTest::qWait(20);
    }
    return condition();
}

TEST(SharedBoardScopeTest, AnotherProgramHoldingTheConverterIsNamedAndTheScopeGoesOnWhenItEnds) {
    QTemporaryDir folder;
    QProcess holder;
    holder.start(ORVEX_TOOL, {"ai", "acquire", "2", "--rate", "1000", "--duration", "2.5",
                              "--output", folder.filePath("ai2.csv")});
    ASSERT_TRUE(holder.waitForStarted());
    QTest::qWait(500);

    ScopeWindow window;
    ScopeSetup setup;
    setup.mode = SweepMode::Roll;
    setup.rate = 10000.0;
    setup.historyBound = 1'000'000;
    window.applySetup(setup);
    window.show();
    window.run();
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

} // namespace
} // namespace scope
