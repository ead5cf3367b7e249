#include "in_step_output.h"

#include "core/tool_errors.h"
#include "waveform.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace orvex_cli {
namespace {

// The library's output buffer, as for a generation of its own.
constexpr std::size_t largestBlock = 1000000;

std::string clockText(const InStepGeneration &generation) {
    if (generation.shareClock) {
        return "on the scan's sample clock";
    }
    char text[64];
    std::snprintf(text, sizeof text, "on its own clock at %g S/s", generation.rate);
    return text;
}

std::vector<double> repeatedTo(const std::vector<double> &block, std::size_t length) {
    std::vector<double> repeated;
    repeated.reserve(length);
    while (repeated.size() < length) {
        repeated.insert(repeated.end(), block.begin(), block.end());
    }
    return repeated;
}

} // namespace

InStepOutput inStepOutput(std::vector<InStepGeneration> generations, double scanRate) {
    std::sort(
        generations.begin(), generations.end(),
        [](const InStepGeneration &a, const InStepGeneration &b) { return a.channel < b.channel; });
    const InStepGeneration &first = generations.front();
    const InStepGeneration &last = generations.back();
    if (first.shareClock != last.shareClock || first.rate != last.rate) {
        throw UsageError("the in-step generations on ao0 and ao1 run on one clock: give both "
                         "--share-clock, or both the same --rate");
    }
    const double rate = first.shareClock ? scanRate : first.rate;
    std::vector<std::vector<double>> blocks;
    std::size_t length = 1;
    for (const InStepGeneration &generation : generations) {
        blocks.push_back(generation.block(rate));
        checkOutputRange(blocks.back());
        length = std::lcm(length, blocks.back().size());
        if (length > largestBlock) {
            throw UsageError("the in-step waves on ao0 and ao1 repeat together only after more "
                             "than a million samples; give waves with a common period");
        }
    }
    InStepOutput output;
    output.channels = generations.size() == 1 ? "ao" + std::to_string(first.channel) : "ao0:1";
    output.samplesPerChannel = static_cast<int>(length);
    output.shareClock = first.shareClock;
    output.rate = first.rate;
    for (std::size_t k = 0; k < generations.size(); ++k) {
        const std::vector<double> block = repeatedTo(blocks[k], length);
        output.data.insert(output.data.end(), block.begin(), block.end());
        output.description += (k == 0 ? "" : "; ") + std::string("ao") +
                              std::to_string(generations[k].channel) + " " + generations[k].wave +
                              " " + clockText(generations[k]);
    }
    return output;
}

} // namespace orvex_cli
