/* orvex: access to the NI 6251 multifunction board in a PXI chassis.
 *
 * Every function returns a status and records it as the library's error code:
 *   negative  failure: the driver's status passed through unchanged, or -1 when one
 *             of the library's own argument checks failed;
 *   0         success;
 *   positive  success with a driver warning, or 1 when the checks passed and no
 *             driver call was needed.
 * Only negative values are failures.  Besides -1 the library has one code of its own:
 *   ORVEX_STATUS_NO_PROGRESS (-2)  a clocked read or write ended because the driver
 *             reported success but moved no sample, which would otherwise repeat for
 *             ever; the error text then says how many samples of the block were moved.
 * The board driver's own codes are far from these (NI-DAQmx codes are below -50000).
 *
 * The error text (orvex_GetLastErrorBuffer) is written only when a call fails: it
 * then holds the driver's description of the status or the failed check's message.
 * It is valid right after a call that returned a negative status and until the next
 * library call; after a success the code is updated but the text still holds the
 * previous failure's text.
 *
 * The library keeps process-wide state and takes no locks: call it from one thread.
 * It never prints on its own (except orvex_PrintLastError) and never ends the program.
 * The board driver is loaded on the first call that needs it; the environment
 * variable ORVEX_DRIVER names the driver library to load instead of the vendor's.
 */
#ifndef ORVEX_H
#define ORVEX_H

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

enum {
    PORT_SIZE = 3,       /* digital ports 0 to 2, 8 lines each */
    PORT_CACHE_SIZE = 4, /* direction configurations kept per port */
    ANALOG_SIZEo = 2,    /* analog output channels 0 and 1 */
    ANALOG_SIZEi = 8,    /* analog input channels 0 to 7 */
    ERROR_BUFFER_SIZE = 1024
};

/* The library's own failure statuses; every other negative status is the driver's. */
enum { ORVEX_STATUS_CHECK_FAILED = -1, ORVEX_STATUS_NO_PROGRESS = -2 };

/* Error state */
ORVEX_API int orvex_SetLastError(int code); /* returns the code held before */
ORVEX_API int orvex_GetLastError(void);
ORVEX_API char *orvex_GetLastErrorBuffer(void); /* valid for the whole run */
ORVEX_API int orvex_PrintLastError(void);       /* "Error = %i, %s\n" to the error output */

/* Board selection and release */
ORVEX_API int orvex_ni6251Slot(int slot); /* always 0; affects tasks created later */
ORVEX_API int orvex_ni6251Close(void);    /* releases every task; the library can be used again */

/* Digital ports: bit n is line n; a set mask bit makes the line an output. */
ORVEX_API int orvex_portMask(int portN, unsigned char mask);
ORVEX_API int orvex_portOut(int port, unsigned char value);
ORVEX_API int orvex_portIn(int port, unsigned char *data);

/* Single-point analog input and output, volts (-10 to +10). */
ORVEX_API int orvex_analogOut(int idx, double val);
ORVEX_API int orvex_analogIn(int idx, double *val);

/* Clocked analog input.  Settings apply to each channel at its next clocked read.
 * A clock or trigger source is a text of at most 255 characters; a longer one is
 * refused (-1, stored settings unchanged) with one of these check messages:
 *   orvex_analogInClk      line 412 "strlen(source) < sizeof(anlgClock.clkSource)"
 *   orvex_analogInTrigger  line 421 "strlen(source) < sizeof(anlgClock.trigSource)"
 *   orvex_analogOutClk     line 541 "strlen(source) < sizeof(dacOpt.clkSource)"
 *   orvex_analogOutTrigger line 550 "strlen(source) < sizeof(dacOpt.trigSource)"
 * A continuous fetch configures one second of samples (the rate truncated); a rate
 * below 1 or not a number gives 0 samples there, one too large for 64 bits the largest
 * count, and the driver judges the rate itself.
 * orvex_analogFetchEx refuses a channel other than the one being fetched (-1, line 489,
 * "anlgClock.maskFetch == (1<<idx)"); nothing changes. */
ORVEX_API int orvex_analogInClk(const char *source, double rate);
ORVEX_API int orvex_analogInTrigger(const char *source, double level); /* null or "" = no trigger */
ORVEX_API int orvex_analogReadEx(int idx, double *warray, int size, int *readCount, double timeout);
ORVEX_API int orvex_analogRead(int idx, double *warray, int size,
                               int *readCount); /* timeout 10 s */
ORVEX_API int orvex_analogFetchEx(int idx, double *warray, int size, int *readCount,
                                  double timeout);
ORVEX_API int orvex_analogFetchStatus(void); /* 1 while a channel is being fetched, else 0 */
ORVEX_API int orvex_analogInStop(int idx);

/* Clocked analog output.  Settings apply to each channel at its next clocked write. */
ORVEX_API int orvex_analogOutClk(const char *source, double rate);
ORVEX_API int orvex_analogOutTrigger(const char *source, double level);
ORVEX_API int orvex_analogWriteEx(int idx, const double *warray, int size, double timeout);
ORVEX_API int orvex_analogWrite(int idx, const double *warray, int size); /* timeout 10 s */
ORVEX_API int orvex_analogOutStop(int idx);

#ifdef __cplusplus
}
#endif

#endif
