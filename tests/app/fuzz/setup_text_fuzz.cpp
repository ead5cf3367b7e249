// libFuzzer target of the setup file reader: any text is either refused, naming a key and
// what is wrong with it, or gives a set-up that every field of the window can take, and
// that set-up saved and read again is the same.
#include "fuzz/fuzz_require.h"
#include "setup/setup_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using zelbrin::AxisSpan;
using zelbrin::Calibration;
using zelbrin::Setup;
using zelbrin::SetupRefusal;

bool within(double value, double low, double high) {
    return value >= low && value <= high;
}

bool takenByTheWindow(const Setup &s) {
    const auto calibrationTaken = [](const Calibration &c) {
        return within(c.min, -10, 10) && within(c.mid, -10, 10) && within(c.max, -10, 10);
    };
    const auto axisTaken = [](const AxisSpan &a) {
        return within(a.min, -1e6, 1e6) && within(a.max, -1e6, 1e6) && a.min < a.max;
    };
    return calibrationTaken(s.x) && calibrationTaken(s.y) && within(s.refreshSeconds, 0.01, 10) &&
           within(s.sampleSeconds, 0.01, 10) && s.plotMode >= 0 && s.plotMode <= 2 &&
           axisTaken(s.xAxis) && axisTaken(s.yAxis);
}

bool same(const Setup &a, const Setup &b) {
    const auto sameCalibration = [](const Calibration &l, const Calibration &r) {
        return l.min == r.min && l.mid == r.mid && l.max == r.max;
    };
    return sameCalibration(a.x, b.x) && sameCalibration(a.y, b.y) &&
           a.refreshSeconds == b.refreshSeconds && a.sampleSeconds == b.sampleSeconds &&
           a.plotMode == b.plotMode && a.showRaw == b.showRaw &&
           a.showCalibrated == b.showCalibrated && a.swap == b.swap && a.xAxis.min == b.xAxis.min &&
           a.xAxis.max == b.xAxis.max && a.yAxis.min == b.yAxis.min && a.yAxis.max == b.yAxis.max;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto read = zelbrin::readSetupText(text);
    if (const auto *refusal = std::get_if<SetupRefusal>(&read)) {
        fuzzRequire(!refusal->key.empty() && !refusal->why.empty());
        return 0;
    }
    const Setup &setup = std::get<Setup>(read);
    fuzzRequire(takenByTheWindow(setup));
    const auto again = zelbrin::readSetupText(zelbrin::setupText(setup));
    fuzzRequire(std::holds_alternative<Setup>(again) && same(std::get<Setup>(again), setup));
    return 0;
}
