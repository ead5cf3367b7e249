/* Digital ports and lines: lines 0 to 3 of port 0 become outputs, lines 4 to 7 stay
 * inputs.  A port read gives the inputs as sensed and the outputs as driven.  A
 * direction change keeps the value last written, which comes back on the outputs.
 *
 *     ORVEX_DRIVER=.../liborvex_simboard.so ./ports_and_lines
 */
#include "check_status.h"

#include <orvex.h>

#include <stdio.h>

static void showPort(const char *step) {
    unsigned char lines = 0;
    check(orvex_portIn(0, &lines));
    printf("%s: port 0 reads 0x%02x\n", step, lines);
}

int main(void) {
    check(orvex_ni6251Slot(2));

    check(orvex_portMask(0, 0x0F)); /* lines 0-3 outputs, 4-7 inputs */
    check(orvex_portOut(0, 0x05));  /* lines 0 and 2 high */
    showPort("outputs 0-3 driving 0x05");

    check(orvex_portMask(0, 0x00)); /* every line an input */
    showPort("all inputs");

    check(orvex_portMask(0, 0x0F)); /* back: the remembered 0x05 is driven again */
    showPort("outputs 0-3 again");

    return check(orvex_ni6251Close());
}
