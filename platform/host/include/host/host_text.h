// Texts that cross into the operating system: environment values and file paths.
// They are UTF-8 inside our code on every platform; on Windows these functions convert
// them to the UTF-16 that the system's own interfaces take, so no path or value depends
// on the machine's code page.
#ifndef PLATFORM_HOST_INCLUDE_HOST_HOST_TEXT_H
#define PLATFORM_HOST_INCLUDE_HOST_HOST_TEXT_H

#include <cstdio>
#include <string>
#include <string_view>

namespace host {

// The variable's value as UTF-8; empty when it is unset.
std::string environment(const char *name);

// std::fopen with a UTF-8 path.
std::FILE *openFile(const std::string &utf8Path, const char *mode);

#ifdef _WIN32
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
#endif

} // namespace host

#endif
