// Test programs change the environment their own process reads, on every platform.
// On Windows the value goes to the process environment in UTF-16, where the driver
// layer and the simulated board read it.
#ifndef TESTS_SUPPORT_TEST_ENVIRONMENT_H
#define TESTS_SUPPORT_TEST_ENVIRONMENT_H

#include <string>

#ifdef _WIN32
#include "host/host_text.h"
#include <windows.h>
#else
#include <cstdlib>
#endif

// An empty value removes the variable.
inline void setEnvironment(const char *name, const std::string &utf8Value) {
#ifdef _WIN32
    SetEnvironmentVariableW(host::wideFromUtf8(name).c_str(),
                            utf8Value.empty() ? nullptr : host::wideFromUtf8(utf8Value).c_str());
#else
    if (utf8Value.empty()) {
        unsetenv(name);
    } else {
        setenv(name, utf8Value.c_str(), 1);
    }
#endif
}

#endif
