// The appendable table of a file's events: one compound row per event.
#ifndef TOOLS_RECORDING_SRC_EVENTS_TABLE_H
#define TOOLS_RECORDING_SRC_EVENTS_TABLE_H

#include "hdf5_handle.h"
#include "sample_clock.h"

#include <recording/recording_config.h>

#include <vector>

namespace recording {

class EventsTable {
  public:
    // Makes the dataset "events" in `file`.
    explicit EventsTable(hid_t file);

    // Extends the table by `events`, dated by `clock`; written out at the file's next flush.
    void append(const std::vector<Event> &events, const SampleClock &clock);

  private:
    Hdf5Handle memoryType_;
    Hdf5Handle dataset_;
    hsize_t rows_ = 0;
};

} // namespace recording

#endif
