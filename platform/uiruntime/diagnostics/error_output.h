// Standard error as the operating system shows it, one form per platform.
#ifndef PLATFORM_UIRUNTIME_DIAGNOSTICS_ERROR_OUTPUT_H
#define PLATFORM_UIRUNTIME_DIAGNOSTICS_ERROR_OUTPUT_H

namespace diagnostics {

// Writes UTF-8 text to the error output so that it reads correctly there, and flushes.
void writeErrorOutput(const char *utf8);

} // namespace diagnostics

#endif
