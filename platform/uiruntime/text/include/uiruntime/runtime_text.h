/* Text formatting and comparison of the user-interface runtime, which the orvex library
 * uses too.  They need no window system, so the library links them without Qt.
 */
#ifndef PLATFORM_UIRUNTIME_TEXT_INCLUDE_UIRUNTIME_RUNTIME_TEXT_H
#define PLATFORM_UIRUNTIME_TEXT_INCLUDE_UIRUNTIME_RUNTIME_TEXT_H

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

#ifdef __cplusplus
}
#endif

#endif
