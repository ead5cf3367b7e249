// Runs the event loop until a condition holds, or for at most the time given.
#ifndef TESTS_SCOPE_EVENT_WAIT_H
#define TESTS_SCOPE_EVENT_WAIT_H

#include <QElapsedTimer>
#include <QTest>
#include <functional>

namespace scope_test {

inline bool waitFor(const std::function<bool()> &condition, int milliseconds = 3000) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < milliseconds) {
        QTest::qWait(10);
    }
    return condition();
}

} // namespace scope_test

#endif
