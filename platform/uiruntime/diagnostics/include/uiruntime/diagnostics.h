/* The runtime's error print and debugger stop, which the orvex library uses too.  They
 * need no window system, so the library links them without Qt.
 */
#ifndef PLATFORM_UIRUNTIME_DIAGNOSTICS_INCLUDE_UIRUNTIME_DIAGNOSTICS_H
#define PLATFORM_UIRUNTIME_DIAGNOSTICS_INCLUDE_UIRUNTIME_DIAGNOSTICS_H

#ifdef __cplusplus
extern "C" {
#endif

/* printf-style print to standard error; the text also goes to the sink installed
 * with SetErrorPrintSink, if any (the panel runtime shows it in the window).
 * Returns the number of characters printed. */
int ErrorPrintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

/* Receives every ErrorPrintf text after it went to standard error; null removes it. */
typedef void (*ErrorPrintSink)(const char *text);
void SetErrorPrintSink(ErrorPrintSink sink);

/* Returns at once; stops in the debugger only when one is attached. */
void Breakpoint(void);

#ifdef __cplusplus
}
#endif

#endif
