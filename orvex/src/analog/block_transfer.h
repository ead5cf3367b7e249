// The driver-paced loop shared by clocked reads and writes: the driver moves a block
// in as many pieces as it likes, each piece continuing where the last one stopped.
#ifndef ORVEX_SRC_ANALOG_BLOCK_TRANSFER_H
#define ORVEX_SRC_ANALOG_BLOCK_TRANSFER_H

#include "core/operation_ending.h"
#include "daqmx/daqmx.h"

#include <algorithm>

namespace orvex {

// piece(done, remaining, &moved) makes one driver call for the samples from index done
// on and returns its status.  Ends with the last piece's status, the first negative
// one, or ORVEX_STATUS_NO_PROGRESS when a piece succeeds without moving a sample
// (that piece would otherwise be repeated for ever).
// `done` counts the samples moved, also when the block ends early.
template <typename Piece> int32 transferBlock(int size, Piece &&piece, int &done) {
    int32 status = 0;
    done = 0;
    while (done < size) {
        int32 moved = 0;
        status = piece(done, size - done, &moved);
        // A piece that fails part way (a timeout) has still moved its samples.
        if (moved > 0) {
            done += std::min(moved, size - done);
        }
        if (status < 0) {
            return status;
        }
        if (moved <= 0) {
            return noProgress(done, size);
        }
    }
    return status;
}

template <typename Piece> int32 transferBlock(int size, Piece &&piece) {
    int done = 0;
    return transferBlock(size, piece, done);
}

} // namespace orvex

#endif
