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
#define ORVEX_VERSION_MINOR 3        /**< changes when functions are added */
#define ORVEX_VERSION_PATCH 0        /**< changes with mends only */
#define ORVEX_VERSION_STRING "0.3.0" /**< the three numbers as text */
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
 * @return the version text, such as "0.3.0"; it lives as long as the program */
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

/** @name Scans
 * A scan reads several analog inputs on one sample clock into one buffer.  Any of the
 * board's 16 inputs ai0 to ai15 can be in it, each with its own range and terminal
 * configuration; the functions above (inputs 0 to 7, referenced single-ended, ±10 V)
 * stay as they are beside it.  One scan is set up per process: its channels, clock,
 * start trigger and in-step outputs are stored by the set-up calls and reach the driver
 * at orvex_scanStart(), which makes the scan's driver task; orvex_scanStop() releases it.
 * The set-up cannot change under a running scan: its calls are refused (-1) until
 * orvex_scanStop().
 * While a scan runs, the board's analog-input converter is its own: a single-point read,
 * a clocked read or another scan, from this process or another, is refused by the
 * driver (-50103, naming the scan's task).
 *
 * Channel lists are written as the board's users write them: entries separated by
 * commas, each an input ("ai3") or a range of inputs ("ai0:3", also descending
 * "ai3:0"); the device may be named ("PXI1Slot2/ai0") and is otherwise the selected
 * slot's.  Data comes in the list's order.
 *
 * Ranges: the board measures within ±10, ±5, ±2, ±1, ±0.5, ±0.2 or ±0.1 V with 16 bits
 * over the range (±0.1 V resolves about 3 µV).  A requested range is widened to the
 * smallest of these that holds it; a signal beyond the range reads as the range's end.
 *
 * Terminal configurations: referenced single-ended (#ORVEX_RSE, against the board's
 * ground), non-referenced single-ended (#ORVEX_NRSE, against the AI SENSE input) and
 * differential (#ORVEX_DIFF: input n against input n+8, for n 0 to 7; input n+8 then
 * cannot be in the list).
 *
 * Rates: up to 1.25 MS/s for a scan of one channel and 1.00 MS/s in all (the rate per
 * channel times the channels) for several; a faster clock is refused by the driver at
 * orvex_scanStart(), with a text that names the limit.  The channels of one scan are
 * converted one after another: channel k's sample of scan n is taken at
 * n × interval + k × channelStep after the first (orvex_ScanInfo).
 *
 * Example, four inputs for one second at 10 kS/s each, ai3 at ±0.1 V differential:
 * @code
 * double data[4 * 10000];
 * int read = 0;
 * if (orvex_scanChannels("ai0:3", 10.0, ORVEX_RSE) < 0 ||
 *     orvex_scanChannelSetup("ai3", 0.1, ORVEX_DIFF) < 0 ||
 *     orvex_scanClock(10000.0) < 0 ||
 *     orvex_scanAcquire(data, 10000, ORVEX_BY_SCAN, &read, 5.0) < 0) {
 *     orvex_PrintLastError();
 * }
 * // data[4 * n + k] is channel k (ai0 .. ai3) of scan n
 * @endcode
 * @{ */

/** Terminal configurations of a scan's channel. */
enum {
    ORVEX_RSE = 0,  /**< referenced single-ended: against the board's ground */
    ORVEX_NRSE = 1, /**< non-referenced single-ended: against AI SENSE */
    ORVEX_DIFF = 2  /**< differential: input n against input n+8 */
};

/** Layouts of scan data in the caller's buffer. */
enum {
    ORVEX_BY_CHANNEL = 0, /**< all samples of the first channel, then of the next, ... */
    ORVEX_BY_SCAN = 1     /**< one sample of each channel, then the next scan, ... */
};

/** Edges and slopes of a start trigger. */
enum {
    ORVEX_RISING = 0, /**< a rising edge, or the signal rising through the level */
    ORVEX_FALLING = 1 /**< a falling edge, or the signal falling through the level */
};

/** How the start time of a scan's first sample was taken. */
enum {
    ORVEX_TIME_UNKNOWN = 0,   /**< not yet: a triggered scan before its first read */
    ORVEX_TIME_AT_START = 1,  /**< the system clock read around the driver's start call */
    ORVEX_TIME_FROM_COUNT = 2 /**< a triggered scan: the system clock read around the
                                   driver's count of samples acquired, at the first read */
};

/** The scan's channels, clock and timing, as the driver runs them. */
typedef struct orvex_ScanInfo {
    int channels;          /**< channels in the list */
    int running;           /**< 1 between orvex_scanStart() and orvex_scanStop() */
    double rate;           /**< samples per second per channel, as the driver runs the clock */
    double interval;       /**< seconds between two samples of one channel (1 / rate) */
    double channelStep;    /**< seconds between the conversions of two channels of a scan */
    long long samplesRead; /**< per channel, since the start */
    /** UTC of the first sample, seconds since 1970-01-01 (0 while unknown).  Read from the
     * system's UTC clock (leap seconds not counted, as in POSIX time) around a driver call: with
     * #ORVEX_TIME_AT_START the call that started the scan, whose first sample comes at the start;
     * with #ORVEX_TIME_FROM_COUNT, for a triggered scan, the count of samples acquired right after
     * the first read, counted back by the interval.  Good to the system clock's accuracy plus
     * startTimeUncertainty. */
    double startTime;
    double startTimeUncertainty; /**< seconds either side of startTime */
    int startTimeSource;         /**< ORVEX_TIME_UNKNOWN, _AT_START or _FROM_COUNT */
} orvex_ScanInfo;

/** One channel of the scan's list, as the driver gets it. */
typedef struct orvex_ScanChannel {
    char name[16]; /**< the input, such as "ai3" */
    int input;     /**< 0 to 15 */
    double range;  /**< the board's range that holds the requested one: ±range volts */
    int terminal;  /**< ORVEX_RSE, ORVEX_NRSE or ORVEX_DIFF (against input + 8) */
} orvex_ScanChannel;

/** Sets the scan's channel list; every channel gets the same range and terminal
 * configuration (orvex_scanChannelSetup() changes one).
 * @param channels the list, such as "ai0:3,ai8"
 * @param range volts either side of 0 the channels must measure, above 0 and at most 10
 * @param terminal #ORVEX_RSE, #ORVEX_NRSE or #ORVEX_DIFF
 * @return 0, or -1 with the reason in the error text: an unknown channel, a channel
 *         listed twice, a differential partner in the list, a bad range or terminal,
 *         or a scan running; the stored list is then unchanged */
ORVEX_API int orvex_scanChannels(const char *channels, double range, int terminal);

/** Sets the range and terminal configuration of one channel of the list.
 * @code
 * orvex_scanChannels("ai0,ai1,ai8", 10.0, ORVEX_RSE);
 * orvex_scanChannelSetup("ai1", 0.5, ORVEX_DIFF); // ai1 against ai9
 * @endcode
 * @param channel a channel of the list, such as "ai1"
 * @param range as for orvex_scanChannels()
 * @param terminal as for orvex_scanChannels()
 * @return 0, or -1 when the channel is not in the list or the setting is refused */
ORVEX_API int orvex_scanChannelSetup(const char *channel, double range, int terminal);

/** Sets the scan's sample clock: the onboard clock at @p rate scans per second.  At
 * program start the rate is 1000.
 * @code
 * orvex_scanClock(62500.0); // 16 channels at 62.5 kS/s: 1 MS/s in all
 * @endcode
 * @param rate samples per second per channel, above 0
 * @return 0, or -1 for a rate of 0 or below, or not a number, or while a scan runs */
ORVEX_API int orvex_scanClock(double rate);

/** Sets or removes the scan's start trigger.
 * @code
 * orvex_scanTrigger("ai3", 2.5, ORVEX_RISING);  // when ai3 rises through 2.5 V
 * orvex_scanTrigger("PFI4", 0.0, ORVEX_FALLING); // when switch S1 is pressed
 * orvex_scanTrigger(NULL, 0.0, ORVEX_RISING);    // no trigger
 * @endcode
 * @param source null or "" for none; an analog input ("ai0" to "ai15") for an analog
 *        edge; a PFI line ("PFI0" to "PFI15") for a digital edge
 * @param level volts, for an analog source (within ±10 V)
 * @param slope #ORVEX_RISING or #ORVEX_FALLING
 * @return 0, or -1 for an unknown source, a level beyond ±10 V, an unknown slope, or
 *         while a scan runs */
ORVEX_API int orvex_scanTrigger(const char *source, double level, int slope);

/** Generates on analog outputs in step with the next scans: the block is written before
 * the scan starts and its generation is started by the scan's start, on the scan's
 * sample clock when @p shareClock is 1 (one output sample per scan) or on its own clock
 * at @p rate otherwise.  The block is regenerated until orvex_scanStop().
 * @code
 * double step[2000] = {0};
 * for (int i = 1000; i < 2000; ++i) step[i] = 1.0;
 * orvex_scanOutput("ao0", step, 2000, 1, 0.0); // ao0 steps to 1 V at scan 1000
 * @endcode
 * @param channels "ao0", "ao1" or "ao0:1"; null to generate nothing in step
 * @param data samples, volts, grouped by channel; copied
 * @param samplesPerChannel above 0
 * @param shareClock 1: clocked by the scan's sample clock; 0: by its own at @p rate
 * @param rate samples per second per output channel, when @p shareClock is 0
 * @return 0, or -1 for a bad argument (a sample beyond ±10 V among them, or a scan
 *         running), or -3 when the block cannot be copied for lack of memory */
ORVEX_API int orvex_scanOutput(const char *channels, const double *data, int samplesPerChannel,
                               int shareClock, double rate);

/** Starts the scan: makes its driver task with the stored channels, clock and trigger,
 * arms the in-step outputs, and starts.
 * @code
 * orvex_scanStart(0); // continuous: read blocks with orvex_scanReadEx()
 * @endcode
 * @param samplesPerChannel N for a finite scan of N scans, or 0 for a continuous one
 * @return 0 or a driver warning; -1 when a scan runs already, when no channel list was
 *         set or @p samplesPerChannel is below 0; the driver's status when it refuses
 *         (a rate above the limit, the converter held by another task); nothing is left
 *         running then */
ORVEX_API int orvex_scanStart(long long samplesPerChannel);

/** Reads the scan's next @p samplesPerChannel samples of every channel.
 * @code
 * double block[16 * 1000];
 * int read;
 * while (orvex_scanReadEx(block, 1000, ORVEX_BY_CHANNEL, &read, 1.0) >= 0) {
 *     // block[1000 * k + n]: channel k, sample n
 * }
 * @endcode
 * @param[out] data room for @p samplesPerChannel times the channels, volts
 * @param samplesPerChannel above 0
 * @param layout #ORVEX_BY_CHANNEL or #ORVEX_BY_SCAN
 * @param[out] readCount samples per channel read, also when the read failed part way
 *        (a timeout); may be null
 * @param timeout seconds to wait for the samples
 * @return 0 or a driver warning, or a negative status: -1 when no scan runs or for a bad
 *         argument, the driver's status otherwise (-200284 a timeout, -200279 samples
 *         overwritten because they were not read in time) */
ORVEX_API int orvex_scanReadEx(double *data, int samplesPerChannel, int layout, int *readCount,
                               double timeout);

/** A finite scan in one call: orvex_scanStart() of @p samplesPerChannel, the read of all
 * of them, and orvex_scanStop(), which also runs when the read fails.
 * @param[out] data room for @p samplesPerChannel times the channels, volts
 * @param samplesPerChannel above 0
 * @param layout #ORVEX_BY_CHANNEL or #ORVEX_BY_SCAN
 * @param[out] readCount samples per channel read; may be null
 * @param timeout seconds to wait for the samples
 * @return as orvex_scanStart() and orvex_scanReadEx(): the first failure */
ORVEX_API int orvex_scanAcquire(double *data, int samplesPerChannel, int layout, int *readCount,
                                double timeout);

/** Stops the scan and its in-step outputs and releases their driver tasks; the stored
 * set-up stays for the next start.  Stopping with no scan running returns 1.
 * @return 0, 1, or the first driver failure (the tasks are released whatever it was) */
ORVEX_API int orvex_scanStop(void);

/** Tells how one channel of the list is set up.
 * @code
 * orvex_ScanChannel channel;
 * for (int k = 0; orvex_scanChannel(k, &channel) == 0; ++k) {
 *     printf("%s ±%g V\n", channel.name, channel.range);
 * }
 * @endcode
 * @param index 0 for the list's first channel
 * @param[out] channel filled in
 * @return 0, or -1 when @p index is not in the list or @p channel is null */
ORVEX_API int orvex_scanChannel(int index, orvex_ScanChannel *channel);

/** Tells what the scan runs as: its channels, rate, step between channels, samples read
 * and start time.  After orvex_scanStop() it tells what the last scan was, until the next
 * start; before any start, the set-up.
 * @param[out] info filled in
 * @return 0, or -1 when @p info is null */
ORVEX_API int orvex_scanInfo(orvex_ScanInfo *info);

/** @} */

#ifdef __cplusplus
}
#endif

#endif
