// Starting, stopping and waiting for a child process, one form per operating system.
#ifndef TESTS_CLI_CHILD_PROCESS_H
#define TESTS_CLI_CHILD_PROCESS_H

#include <cstdint>
#include <string>
#include <vector>

// Starts `commandLine` (the program first) with its standard input, output and error
// redirected to the named files.
std::uintptr_t startChild(const std::vector<std::string> &commandLine, const std::string &input,
                          const std::string &output, const std::string &error);
// The exit status, or -1 when the child did not exit normally.
int waitForChild(std::uintptr_t child);
// Whether the child ends within the time; it is left to waitForChild() either way.
bool childEndsWithin(std::uintptr_t child, double seconds);
void stopChild(std::uintptr_t child, int signal);
void killChild(std::uintptr_t child);

#endif
