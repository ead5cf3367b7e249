/* The examples' handling of a failed call: print the library's error line, release the
 * board and end the program. */
#ifndef EXAMPLES_CHECK_STATUS_H
#define EXAMPLES_CHECK_STATUS_H

#include <orvex.h>

#include <stdlib.h>

static int check(int status) {
    if (status < 0) {
        orvex_PrintLastError();
        orvex_ni6251Close();
        exit(1);
    }
    return status;
}

#endif
