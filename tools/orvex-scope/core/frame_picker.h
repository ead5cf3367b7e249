// Which stretch of the history the screen shows next: the newest at the right in roll mode,
// or, triggered, the newest trigger at the pre-trigger point, as auto, normal or single
// sweeps choose when none came.
#ifndef TOOLS_ORVEX_SCOPE_CORE_FRAME_PICKER_H
#define TOOLS_ORVEX_SCOPE_CORE_FRAME_PICKER_H

#include "line_history.h"
#include "sample_history.h"
#include "scope_setup.h"
#include "trigger_search.h"

#include <optional>

namespace scope {

enum class FrameStatus {
    Rolling,   // the newest samples, no trigger asked for
    Triggered, // around a trigger
    Free,      // auto: no trigger came for a while, the newest samples
    Waiting,   // normal or single: no trigger yet; the last frame, if any, stays
    Held       // single: the frame of its trigger, until re-armed
};

// In samples of one channel, fractional: a trigger lies between two samples.
struct Frame {
    double start = 0.0;
    double span = 0.0;
    std::optional<double> trigger;
    FrameStatus status = FrameStatus::Waiting;
    bool empty = true; // nothing to show yet
};

struct FrameRequest {
    SweepMode mode = SweepMode::Roll;
    double span = 1000.0;
    double preTrigger = 0.5; // share of the span before the trigger
    TriggerCondition condition;
    // A digital line as the source instead, its edge of the condition's slope.
    std::optional<int> line;
    // Samples without a trigger after which auto runs free and normal says it waits.
    long long autoAfter = 0;
};

class FramePicker {
  public:
    // Counts only triggers from this sample on: a re-armed sweep waits for a new one.
    void arm(long long from);
    // lines: the digital lines' levels over the same samples, for a trigger on a line.
    Frame next(const SampleHistory &history, const FrameRequest &request,
               const LineHistory *lines = nullptr);

  private:
    long long armedFrom_ = 0;
    long long searchedTo_ = 0;    // candidates before this were looked at already
    long long lastTriggerAt_ = 0; // history total when the last trigger was found
    std::optional<Frame> last_;   // the last triggered frame
};

} // namespace scope

#endif
