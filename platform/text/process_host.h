// What the runtime's text operations need from the operating system, one form per
// platform.
#ifndef ORVEX_PLATFORM_TEXT_PROCESS_HOST_H
#define ORVEX_PLATFORM_TEXT_PROCESS_HOST_H

namespace text {

// Writes UTF-8 text to the error output so that it reads correctly there, and flushes.
void writeErrorOutput(const char *utf8);

bool debuggerAttached();
void stopInDebugger();

} // namespace text

#endif
