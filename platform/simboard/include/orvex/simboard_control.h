/* Control of the simulated board while a program runs on it: tests press switches, move
 * the joystick, set inputs, inject faults and move virtual time.  On the shared board
 * they act on the board every process sees.  Get the functions by linking
 * liborvex_simboard.so (orvex_simboard.dll), or from the library the driver loader
 * already loaded:
 *     void *board = dlopen(path, RTLD_NOW | RTLD_NOLOAD);   (Windows: GetModuleHandleW)
 *     dlsym(board, "simboard_pressSwitch") ...              (Windows: GetProcAddress)
 * Every function returns 0 or a negative status whose text DAQmxGetErrorString gives.
 * The orvex library never calls these. */
#ifndef PLATFORM_SIMBOARD_INCLUDE_ORVEX_SIMBOARD_CONTROL_H
#define PLATFORM_SIMBOARD_INCLUDE_ORVEX_SIMBOARD_CONTROL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(SIMBOARD_BUILDING_LIBRARY)
#define SIMBOARD_API __declspec(dllexport)
#elif defined(_WIN32)
#define SIMBOARD_API
#else
#define SIMBOARD_API __attribute__((visibility("default")))
#endif

/* Switch S1..S4 (number 1..4): pressed 1 holds it down, 0 holds it up. */
SIMBOARD_API int32_t simboard_pressSwitch(int switchNumber, int pressed);
/* Holds the joystick so that its wipers give these voltages (X on ai2, Y on ai3) while
 * it is powered; release returns it to its path. */
SIMBOARD_API int32_t simboard_holdJoystick(double xVolts, double yVolts);
SIMBOARD_API int32_t simboard_releaseJoystick(void);
/* Level 0 or 1 on an input line of the stand; -1 gives the line back to the stand. */
SIMBOARD_API int32_t simboard_setInputLine(int port, int line, int level);
/* Voltage on analog input ai0..ai15, overriding the stand's wiring. */
SIMBOARD_API int32_t simboard_setAnalogInput(int channel, double volts);
SIMBOARD_API int32_t simboard_releaseAnalogInput(int channel);
/* A JSON text in the bench file's format (see the simulated board's README.md), checked
 * whole before use. */
SIMBOARD_API int32_t simboard_applyBench(const char *json);
/* The stand back to its defaults and every fault disarmed; tasks, the clock and its mode
 * stay as they are. */
SIMBOARD_API int32_t simboard_reset(void);
/* Moves virtual time ahead; in real time it does nothing. */
SIMBOARD_API int32_t simboard_advanceTime(double seconds);
/* The board time in seconds. */
SIMBOARD_API double simboard_time(void);
/* One task of this process, created and not yet cleared. */
typedef struct SimboardTask {
    uint64_t handle; /* the value of its TaskHandle */
    int32_t running; /* 1 while it is started */
    char name[256];  /* as created, or the generated one; cut to fit, terminated */
} SimboardTask;

/* This process's live tasks, oldest first: at most `capacity` of them copied into
 * `tasks`.  Returns how many there are; a null `tasks` or capacity 0 only asks. */
SIMBOARD_API uint32_t simboard_liveTasks(SimboardTask *tasks, uint32_t capacity);
/* Which board this process uses and, on the shared board, who holds what: a text of
 * lines, copied into `text` (cut to `size`, terminated).  Returns the size the whole text
 * needs, terminator included; a null `text` or size 0 only asks for it. */
SIMBOARD_API uint32_t simboard_status(char *text, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif
