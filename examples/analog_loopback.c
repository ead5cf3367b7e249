/* Single-point analog output and input over the lab stand's loopback: whatever ao0
 * drives, ai0 reads.
 *
 *     ORVEX_DRIVER=.../liborvex_simboard.so ./analog_loopback
 */
#include "check_status.h"

#include <orvex.h>

#include <stdio.h>

int main(void) {
    const double levels[] = {-5.0, 0.0, 2.5, 7.25};
    size_t i;

    printf("orvex %s (header %s), driver %s\n", orvex_version(), ORVEX_VERSION_STRING,
           orvex_driverLibrary());
    check(orvex_driverLoad());
    for (i = 0; i < sizeof levels / sizeof levels[0]; ++i) {
        double volts = 0.0;
        check(orvex_analogOut(0, levels[i]));
        check(orvex_analogIn(0, &volts));
        printf("ao0 %.4f V -> ai0 %.4f V\n", levels[i], volts);
    }
    return check(orvex_ni6251Close());
}
