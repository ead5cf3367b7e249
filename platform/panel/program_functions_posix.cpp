#include "program_functions.h"

#include <dlfcn.h>

void *findProgramFunction(const char *name) {
    return dlsym(RTLD_DEFAULT, name);
}
