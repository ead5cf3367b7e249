/* A scan of four inputs on one clock, written as CSV on standard output: ao0 generates a
 * 2 V, 10 Hz triangle, which ai0 sees over the stand's loopback; ai1 to ai3 read what the
 * stand puts on them.  ai3 is read at ±1 V, the others at ±10 V.
 *
 *     ORVEX_DRIVER=.../liborvex_simboard.so ./scan_to_csv > scan.csv
 */
#include "check_status.h"

#include <orvex.h>

#include <stdio.h>

enum { CHANNELS = 4, SCANS = 1000, WAVE_SAMPLES = 100 };

int main(void) {
    static double wave[WAVE_SAMPLES];
    static double data[CHANNELS * SCANS];
    orvex_ScanChannel channel;
    orvex_ScanInfo info;
    int read = 0;
    int n, k;

    for (n = 0; n < WAVE_SAMPLES; ++n) {
        const int rising = n < WAVE_SAMPLES / 2 ? n : WAVE_SAMPLES - n;
        wave[n] = -2.0 + 8.0 * rising / WAVE_SAMPLES;
    }
    check(orvex_analogOutClk("OnboardClock", 1000.0));
    check(orvex_analogWrite(0, wave, WAVE_SAMPLES)); /* keeps generating */

    check(orvex_scanChannels("ai0:3", 10.0, ORVEX_RSE));
    check(orvex_scanChannelSetup("ai3", 1.0, ORVEX_RSE));
    check(orvex_scanClock(1000.0));
    check(orvex_scanAcquire(data, SCANS, ORVEX_BY_SCAN, &read, 5.0));
    check(orvex_scanInfo(&info));

    printf("# rate %g S/s per channel, channels %g s apart\n", info.rate, info.channelStep);
    printf("sample");
    for (k = 0; orvex_scanChannel(k, &channel) == 0; ++k) {
        printf(",%s (%g V)", channel.name, channel.range);
    }
    printf("\n");
    for (n = 0; n < read; ++n) {
        printf("%d", n);
        for (k = 0; k < CHANNELS; ++k) {
            printf(",%.6f", data[CHANNELS * n + k]);
        }
        printf("\n");
    }

    check(orvex_analogOutStop(0));
    return check(orvex_ni6251Close());
}
