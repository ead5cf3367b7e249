/**
 * @file orvex.h
 * @brief orvex: access to the NI 6251 multifunction board in a PXI chassis.
 *
 * @section orvex_status Statuses
 * Every function returns a status and records it as the library's error code:
 * - negative: failure; the driver's status passed through unchanged, or -1
 *   (#ORVEX_STATUS_CHECK_FAILED) when one of the library's own argument checks failed;
 * - 0: success;
 * - positive: success with a driver warning, or 1 when the checks passed and no driver
 *   call was needed (only orvex_portMask(), orvex_portOut() and orvex_portIn() do that).
 *
 * Only negative values are failures.  Besides -1 the library has two codes of its own:
 * #ORVEX_STATUS_NO_PROGRESS (-2), a clocked read or write ended because the driver
 * reported success but moved no sample, which would otherwise repeat for ever (the
 * error text then says how many samples of the block were moved); and
 * #ORVEX_STATUS_NO_MEMORY (-3), the library could not get the memory it keeps for every
 * task (to hold on to the task should the driver ever refuse to release it), so it did
 * not create the task; the call can be repeated once memory is free.  The board driver's
 * own codes are far from these (its codes are below -50000); -200397 and -200398 mean
 * that the driver library could not be loaded or lacks an entry point.
 *
 * @section orvex_error_text The error text
 * The error text (orvex_GetLastErrorBuffer()) is written only when a call fails: it
 * then holds the driver's description of the status or the failed check's message.
 * It is valid right after a call that returned a negative status and until the next
 * library call; after a success the code is updated but the text still holds the
 * previous failure's text.  When the driver gives no description, or itself returns -1,
 * -2 or -3, the text says so and names the status.  The text is UTF-8: the driver's
 * descriptions as the driver gives them, and the library's check messages, which are
 * partly Russian ("ASSERT ERORR: orvex, line 292: 0 <= port && port < PORT_SIZE: вне
 * диапазона").
 *
 * No task is ever lost: one that could not be created whole is released and created
 * again by the next call that needs it, and one whose release fails is released again
 * before the next task is created and at close.  orvex_ni6251Close tries every task and
 * returns the first failure; it returns 0 only when no task is left.
 *
 * Every function records its status as the error code, with these exceptions:
 * orvex_GetLastError(), orvex_GetLastErrorBuffer(), orvex_PrintLastError(),
 * orvex_version() and orvex_driverLibrary() leave it alone, and orvex_SetLastError()
 * sets it to the value given.
 *
 * @section orvex_threads Threads and the driver
 * The library keeps process-wide state and takes no locks: call it from one thread.
 * It never prints on its own (except orvex_PrintLastError()) and never ends the program.
 * The board driver is loaded on the first call that needs it (or by orvex_driverLoad());
 * the environment variable ORVEX_DRIVER names the driver library to load instead of the
 * vendor's.
 *
 * @section orvex_tasks Tasks
 * Each analog channel has one driver task, created by its first call and kept until
 * orvex_ni6251Close().  Clock and trigger settings that a clocked call applied stay on
 * that task: single-point calls on a channel after a clocked call use the channel's
 * clocked task as it was configured.
 *
 * Voltages are in volts (the channel range is -10 V to +10 V), rates in samples per
 * second per channel, timeouts in seconds, sizes and counts in samples per channel.
 */
#ifndef ORVEX_H
#define ORVEX_H

/** @name Version of this header
 * The library's version is the same unless a program runs with another build of the
 * library than it was compiled against; orvex_version() tells that one.
 * @{ */
#define ORVEX_VERSION_MAJOR 0        /**< changes when programs must be changed */
#define ORVEX_VERSION_MINOR 2        /**< changes when functions are added */
#define ORVEX_VERSION_PATCH 0        /**< changes with mends only */
#define ORVEX_VERSION_STRING "0.2.0" /**< the three numbers as text */
/** @} */

/** Marks the library's exported functions.  A program that links the static library
 * defines ORVEX_STATIC (the CMake target and orvex.pc of a static build do that). */
#if defined(ORVEX_STATIC)
#define ORVEX_API
#elif defined(_WIN32)
#ifdef ORVEX_BUILDING_LIBRARY
#define ORVEX_API __declspec(dllexport)
#else
#define ORVEX_API __declspec(dllimport)
#endif
#else
#define ORVEX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** Sizes of the board and of the library's buffers. */
enum {
    PORT_SIZE = 3,           /**< digital ports 0 to 2, 8 lines each */
    PORT_CACHE_SIZE = 4,     /**< direction configurations kept per port */
    ANALOG_SIZEo = 2,        /**< analog output channels 0 and 1 */
    ANALOG_SIZEi = 8,        /**< analog input channels 0 to 7 */
    ERROR_BUFFER_SIZE = 1024 /**< characters of the error text, terminator included */
};

/** The library's own failure statuses; every other negative status is the driver's. */
enum {
    ORVEX_STATUS_CHECK_FAILED = -1, /**< an argument check failed; the text names it */
    ORVEX_STATUS_NO_PROGRESS = -2,  /**< a clocked block stalled: the driver moved nothing */
    ORVEX_STATUS_NO_MEMORY = -3     /**< no memory to keep track of a new task; none created */
};

/** @name Version and driver
 * @{ */

/** The loaded library's version.  Does not touch the error code.
 * @return the version text, such as "0.2.0"; it lives as long as the program */
ORVEX_API const char *orvex_version(void);

/** Loads the board driver now, unless it is loaded already; otherwise the first call that
 * needs the driver loads it.  A failed load is tried again by the next call.
 * @return 0, or -200397 (the driver library cannot be loaded) or -200398 (it lacks an
 *         entry point), with the explanation in the error text; recorded as the error
 *         code. */
ORVEX_API int orvex_driverLoad(void);

/** The driver library the library has loaded, or else the one it will try to load.
 * Does not touch the error code.
 * @return the value of ORVEX_DRIVER when that is set and not empty, otherwise the
 *         vendor's library name; valid until the next call of the library */
ORVEX_API const char *orvex_driverLibrary(void);

/** @} */

/** @name Error state
 * @{ */

/** Sets the error code; the error text is not touched.
 * @param code the new error code
 * @return the code held before the call */
ORVEX_API int orvex_SetLastError(int code);

/** @return the error code: the status the last library call recorded.
 * Does not change it. */
ORVEX_API int orvex_GetLastError(void);

/** The error text: the explanation of the last failure.  The buffer holds
 * #ERROR_BUFFER_SIZE characters, belongs to the library and stays valid for the whole
 * run; the caller may write into it.  Does not change the error code.
 * @return the start of the buffer */
ORVEX_API char *orvex_GetLastErrorBuffer(void);

/** Prints "Error = <code>, <text>" and a new line to the error output.
 * Does not change the error code.
 * @return the error code */
ORVEX_API int orvex_PrintLastError(void);

/** @} */

/** @name Board selection and release
 * @{ */

/** Selects the PXI slot of the board for the tasks created later; tasks that exist keep
 * their slot.  The slot is not checked: a wrong one shows when a task is next created.
 * @param slot PXI slot number (2 at program start)
 * @return always 0 */
ORVEX_API int orvex_ni6251Slot(int slot);

/** Releases every task; the library can be used again and creates tasks anew on demand.
 * Every task is tried, in a fixed order: the analog output channels, the analog input
 * channels, the port configurations, then tasks that earlier calls could not release.
 * A task the driver refuses to release is kept and tried again before the next task is
 * created and by the next close; the call returns the first refusal, so 0 means that no
 * task is left.
 *
 * What stays and what ends:
 * - remembered port values stay, and are driven again when a port regains output lines;
 * - a continuous fetch (orvex_analogFetchEx()) or a generation (orvex_analogWriteEx())
 *   whose task is released ends: orvex_analogFetchStatus() then answers 0, and neither
 *   orvex_analogInStop() nor orvex_analogOutStop() is needed (they refuse with -1);
 * - the clock and trigger settings given with orvex_analogInClk(), orvex_analogInTrigger(),
 *   orvex_analogOutClk() and orvex_analogOutTrigger() stay, and a channel's task made
 *   after the close gets them again at its first clocked call.
 * @return 0, or the first negative status of the driver */
ORVEX_API int orvex_ni6251Close(void);

/** @} */

/** @name Digital ports
 * Bit n of every value and mask is line n of the port.  A port remembers up to
 * #PORT_CACHE_SIZE direction configurations, so switching back to a recent mask creates
 * no task.
 * @{ */

/** Sets the direction of each line of a port.  The last value given to orvex_portOut()
 * is written again to the new output lines.  When that start of the new configuration
 * failed (its input task or the write of the remembered value), asking for the same mask
 * again finishes it with only the steps still missing, instead of returning 1.
 * @param portN port 0 to 2
 * @param mask bit set: the line is an output; clear: an input
 * @return 1 when the mask is already the port's active one (no driver call), otherwise
 *         0, a driver warning, or a negative status (-1 for a port out of range) */
ORVEX_API int orvex_portMask(int portN, unsigned char mask);

/** Drives the port's output lines from a value.  The value is remembered, also when it
 * cannot be written now, and written again whenever the port gets output lines.
 * @param port port 0 to 2
 * @param value bit n drives line n; bits of input lines are ignored
 * @return 1 when the port has no output line yet (nothing written), otherwise 0, a driver
 *         warning, or a negative status (-1 for a port out of range, value not kept) */
ORVEX_API int orvex_portOut(int port, unsigned char value);

/** Reads the state of all eight lines of a port: input lines as sensed, and for output
 * lines the level they drive (read back from the output task), not what is sensed.
 * @param port port 0 to 2
 * @param[out] data where the state is stored; untouched on failure
 * @return 1 when the port has no configuration yet (0 stored, no driver call), otherwise
 *         0, a driver warning, or a negative status (-1 for a port out of range or a
 *         null @p data) */
ORVEX_API int orvex_portIn(int port, unsigned char *data);

/** @} */

/** @name Single-point analog input and output
 * The value goes to the driver unchanged, neither clamped nor scaled.  On a channel that
 * a clocked call used, these calls use that channel's clocked task with its clock and
 * trigger.
 * @{ */

/** Writes one value to an analog output.
 * @param idx output channel 0 or 1
 * @param val volts, -10 to +10
 * @return 0, a driver warning, or a negative status (-1 for a channel out of range) */
ORVEX_API int orvex_analogOut(int idx, double val);

/** Reads one value of an analog input.
 * @param idx input channel 0 to 7
 * @param[out] val volts; after a driver failure it holds what the driver left there
 * @return 0, a driver warning, or a negative status (-1 for a channel out of range or a
 *         null @p val) */
ORVEX_API int orvex_analogIn(int idx, double *val);

/** @} */

/** @name Clocked analog input
 * Clock and trigger settings hold for all input channels and reach each channel's task
 * at its next clocked read or fetch; they stay on the task until orvex_ni6251Close().
 * At program start the clock is "OnboardClock" at 1000 samples per second, without a
 * start trigger.  A clock or trigger source is a text of at most 255 characters; a longer
 * one is refused (-1, stored settings unchanged).
 *
 * The caller owns every sample array; @p warray holds at least @p size values.
 * @p readCount may be null; it is written (with @p size) only when the whole block was
 * read, so a failed read leaves it alone while the samples read so far stay in
 * @p warray.
 * @{ */

/** Sets the sample clock of the input channels.
 * @param source clock source terminal, passed to the driver; null is taken as ""
 * @param rate samples per second per channel
 * @return 0, or -1 when @p source is too long */
ORVEX_API int orvex_analogInClk(const char *source, double rate);

/** Sets the analog edge start trigger (rising slope) of the input channels.
 * @param source trigger source; null or "" means no start trigger
 * @param level trigger level, volts
 * @return 0, or -1 when @p source is too long */
ORVEX_API int orvex_analogInTrigger(const char *source, double level);

/** Acquires one block of samples of a channel and stops its task again.
 * The read that applies new clock settings to the channel configures @p size samples
 * per channel.  A read that fails or times out skips the stop: the task keeps running
 * until the channel's next successful read stops it or orvex_ni6251Close() releases it.
 * @param idx input channel 0 to 7
 * @param[out] warray @p size samples, volts, caller-owned
 * @param size samples per channel, above 0
 * @param[out] readCount receives @p size after the whole block was read; may be null
 * @param timeout seconds the driver waits for each part of the block
 * @return 0 or a driver warning (the stop's status), or a negative status: -1 for a
 *         failed check, -2 when the driver stalled, the driver's status otherwise */
ORVEX_API int orvex_analogReadEx(int idx, double *warray, int size, int *readCount, double timeout);

/** orvex_analogReadEx() with a timeout of 10 seconds.
 * @param idx input channel 0 to 7
 * @param[out] warray @p size samples, volts, caller-owned
 * @param size samples per channel, above 0
 * @param[out] readCount receives @p size after the whole block was read; may be null
 * @return as orvex_analogReadEx() */
ORVEX_API int orvex_analogRead(int idx, double *warray, int size, int *readCount);

/** Reads the next block of a continuous acquisition.  The first call sets the channel up
 * (one second of samples at the clock rate, truncated) and marks it as the channel being
 * fetched; the task then keeps running between calls until orvex_analogInStop().  Only
 * one channel can be fetched at a time: a call for another one is refused (-1).  A fetch
 * that times out also leaves the task running until orvex_analogInStop().
 * @param idx input channel 0 to 7
 * @param[out] warray @p size samples, volts, caller-owned
 * @param size samples per channel, above 0
 * @param[out] readCount receives @p size after the whole block was read; may be null
 * @param timeout seconds the driver waits for each part of the block
 * @return 0, a driver warning, or a negative status as for orvex_analogReadEx() */
ORVEX_API int orvex_analogFetchEx(int idx, double *warray, int size, int *readCount,
                                  double timeout);

/** Tells whether a channel is being fetched; the answer is also recorded as the error
 * code.
 * @return 1 while a channel is being fetched, else 0 */
ORVEX_API int orvex_analogFetchStatus(void);

/** Stops the channel being fetched and clears the mark.
 * @param idx input channel 0 to 7; must be the channel being fetched
 * @return 0, a driver warning, or a negative status (-1 when @p idx is out of range or is
 *         not the channel being fetched; the mark then stays) */
ORVEX_API int orvex_analogInStop(int idx);

/** @} */

/** @name Clocked analog output
 * Settings work as on the input side, for output channels 0 and 1.
 * @{ */

/** Sets the sample clock of the output channels.
 * @param source clock source terminal, passed to the driver; null is taken as ""
 * @param rate samples per second per channel
 * @return 0, or -1 when @p source is too long */
ORVEX_API int orvex_analogOutClk(const char *source, double rate);

/** Sets the analog edge start trigger (rising slope) of the output channels.
 * @param source trigger source; null or "" means no start trigger
 * @param level trigger level, volts
 * @return 0, or -1 when @p source is too long */
ORVEX_API int orvex_analogOutTrigger(const char *source, double level);

/** Hands a block of samples to a channel and starts its generation, which keeps running
 * until orvex_analogOutStop(); a new block on the same channel stops the running one
 * first, through orvex_analogOutStop(), and goes on whatever that stop returned: the call
 * can then return 0 with the stop's failure still in the error text, as that text is
 * written only on failure.  The channel becomes the one generating (a mark that moves
 * from the other channel without stopping it).
 * @param idx output channel 0 or 1
 * @param warray @p size samples, volts; read only and caller-owned, not kept after the
 *        call
 * @param size samples per channel, above 0
 * @param timeout seconds the driver waits to take each part of the block
 * @return 0, a driver warning, or a negative status: -1 for a failed check, -2 when the
 *         driver stalled, the driver's status otherwise */
ORVEX_API int orvex_analogWriteEx(int idx, const double *warray, int size, double timeout);

/** orvex_analogWriteEx() with a timeout of 10 seconds.
 * @param idx output channel 0 or 1
 * @param warray @p size samples, volts; read only and caller-owned
 * @param size samples per channel, above 0
 * @return as orvex_analogWriteEx() */
ORVEX_API int orvex_analogWrite(int idx, const double *warray, int size);

/** Stops the generating channel and clears the mark.
 * @param idx output channel 0 or 1; must be the channel generating
 * @return 0, a driver warning, or a negative status (-1 when @p idx is out of range or is
 *         not the channel generating) */
ORVEX_API int orvex_analogOutStop(int idx);

/** @} */

#ifdef __cplusplus
}
#endif

#endif
