/* Text operations of the user-interface runtime that the orvex library also uses.
 * They need no window system, so the library links them without Qt.
 */
#ifndef ORVEX_PLATFORM_RUNTIME_TEXT_H
#define ORVEX_PLATFORM_RUNTIME_TEXT_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Formats into buffer, never past bufferSize bytes (terminator included).
 * Formats hold literal text, %s and %i only.  Returns the length written, or -1
 * when the text had to be cut to fit (the buffer then holds the cut, terminated
 * text). */
int Fmt(char *buffer, size_t bufferSize, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

/* 0 when the texts from the given start positions are equal; with caseSensitive 0
 * ASCII letters compare without regard to case.  Otherwise <0 or >0 as strcmp. */
int CompareStrings(const char *text1, int start1, const char *text2, int start2, int caseSensitive);

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
