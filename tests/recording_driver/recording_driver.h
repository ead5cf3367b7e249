/* Control side of the recording test driver, a shared library that exports the board
 * driver's entry points.  Every driver call is recorded as one line of text, with task
 * handles shown by the name their task was created with ("null" for no task):
 *     DAQmxCfgSampClkTiming(analog0I, "OnboardClock", 1000, 10280, 10123, 100)
 *     DAQmxWriteDigitalU8(port1W5, 1, 1, 10, 0, [5], null, null)
 * Out parameters show as "&" when given and "null" when not; data written shows in
 * brackets.  Calls return 0 unless a status was scripted.
 *
 * Reads deliver queued data first; without any, a digital read gives the last value
 * written to that task (0 if none) and an analog read fills what was asked with 0.0.
 * Writes report every sample taken unless a count was queued.
 *
 * Like the board's driver it keeps track of the tasks that exist: a task name is unique
 * among them (RD_STATUS_DUPLICATE_NAME), and a call on a task that does not exist, or no
 * longer does, fails with RD_STATUS_INVALID_TASK.  Scripted failures have no effect
 * (an error-text call then writes no text unless one was queued).
 *
 * With recording off the driver just answers: no text is built and, once the tasks
 * exist, no memory is allocated per call.
 */
#ifndef TESTS_RECORDING_DRIVER_H
#define TESTS_RECORDING_DRIVER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RD_STATUS_DUPLICATE_NAME (-200089)
#define RD_STATUS_INVALID_TASK (-200088)

/* Forgets recorded calls, scripts, queued data and call counts; recording on.  The
 * tasks that exist stay. */
void rd_reset(void);
/* Forgets every task, as a fresh driver would have none. */
void rd_forgetTasks(void);
/* Tasks created and not yet cleared. */
int rd_liveTaskCount(void);
/* Calls of the named entry point since reset. */
int rd_entryPointCalls(const char *entryPoint);
/* The index-th entry point the library calls on tasks, or null past the last one. */
const char *rd_entryPointName(int index);
void rd_setRecording(int on);

int rd_callCount(void);
/* The index-th recorded call (0 = first since reset), or null. */
const char *rd_call(int index);

/* The nth call (1 = first since reset) of the named entry point returns status. */
void rd_scriptStatus(const char *entryPoint, int nth, int32_t status);

/* The next error-text call writes this text, even when a status is scripted for it
 * (a driver may describe the failure and still report its text call failed). */
void rd_queueDescription(const char *text);
/* The next digital read delivers value. */
void rd_queueDigitalRead(uint8_t value);
/* The next analog read delivers count values (no more than it has room for) and
 * reports `reported` samples read. */
void rd_queueAnalogRead(const double *values, int count, int32_t reported);
/* The next analog write reports `reported` samples written. */
void rd_queueAnalogWritten(int32_t reported);

#ifdef __cplusplus
}
#endif

#endif
