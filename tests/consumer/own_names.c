/* A plain C program that defines functions of the names the library uses inside (the
 * text helpers and a driver entry point), then uses the library on the simulated board:
 * each side must get its own functions.
 *     own_names <driver library>
 */
#define _POSIX_C_SOURCE 200809L
#include <orvex.h>

#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

static void expect(int holds, const char *what) {
    if (!holds) {
        fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

/* The program's own functions, with signatures of its own choosing. */
int Fmt(char *buffer, size_t size, const char *format, ...) {
    (void)format;
    snprintf(buffer, size, "mine");
    return 4;
}
int CompareStrings(const char *a, int startA, const char *b, int startB, int caseSensitive) {
    (void)a, (void)startA, (void)b, (void)startB, (void)caseSensitive;
    return 42;
}
int ErrorPrintf(const char *format, ...) {
    (void)format;
    return -7;
}
static int breakpoints = 0;
void Breakpoint(void) {
    ++breakpoints;
}
int DAQmxCreateTask(const char *name, void **task) {
    (void)name;
    *task = NULL;
    return 1234;
}

static void programFunctionsAreItsOwn(void) {
    char text[16];
    void *task = &failures;
    expect(Fmt(text, sizeof text, "%i", 5) == 4 && strcmp(text, "mine") == 0, "own Fmt");
    expect(CompareStrings("a", 0, "a", 0, 0) == 42, "own CompareStrings");
    expect(ErrorPrintf("x") == -7, "own ErrorPrintf");
    Breakpoint();
    expect(breakpoints == 1, "own Breakpoint");
    expect(DAQmxCreateTask("t", &task) == 1234 && task == NULL, "own DAQmxCreateTask");
}

static void driverIsLoadedOnRequest(const char *driver) {
    char text[ERROR_BUFFER_SIZE];
    setenv("ORVEX_DRIVER", "/nonexistent/libnodriver.so", 1);
    expect(strcmp(orvex_driverLibrary(), "/nonexistent/libnodriver.so") == 0,
           "driver library named by ORVEX_DRIVER");
    expect(orvex_driverLoad() == -200397, "missing driver refused");
    expect(orvex_GetLastError() == -200397, "missing driver recorded");
    strcpy(text, orvex_GetLastErrorBuffer());
    expect(strstr(text, "Unable to load") != NULL, "missing driver explained");

    setenv("ORVEX_DRIVER", driver, 1);
    expect(orvex_driverLoad() == 0 && orvex_GetLastError() == 0, "driver loaded on retry");
    setenv("ORVEX_DRIVER", "/elsewhere/libother.so", 1);
    expect(strcmp(orvex_driverLibrary(), driver) == 0, "loaded driver named");
    expect(strcmp(orvex_version(), ORVEX_VERSION_STRING) == 0, "library version");
}

static void libraryUsesItsOwnFunctions(void) {
    unsigned char port = 0;
    double volts = 0;
    /* Two ports' tasks get different names only if the library formats them itself. */
    expect(orvex_portMask(0, 0xFF) == 0, "port 0 outputs");
    expect(orvex_portMask(1, 0xFF) == 0, "port 1 outputs");
    expect(orvex_portOut(1, 0xA5) == 0 && orvex_portIn(1, &port) == 0 && port == 0xA5,
           "port 1 reads back what it drives");
    expect(orvex_analogOut(0, 1.25) == 0 && orvex_analogIn(0, &volts) == 0, "loopback");
    expect(fabs(volts - 1.25) < 0.01, "ai0 reads back ao0");
    expect(orvex_portOut(3, 0) == -1, "port 3 refused");
    expect(strstr(orvex_GetLastErrorBuffer(), "line 292") != NULL, "check message formatted");
    expect(orvex_ni6251Close() == 0, "close");
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: own_names <driver library>\n");
        return 2;
    }
    programFunctionsAreItsOwn();
    driverIsLoadedOnRequest(argv[1]);
    libraryUsesItsOwnFunctions();
    if (failures == 0) {
        printf("own_names: the program's and the library's functions stay apart\n");
    }
    return failures == 0 ? 0 : 1;
}
