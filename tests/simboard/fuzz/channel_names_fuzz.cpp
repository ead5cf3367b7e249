// libFuzzer target of the physical channel name parser: any text must be either refused
// with a status from the board's own range and a detail, or give a channel that exists.
#include "fuzz/fuzz_require.h"
#include "names/channel_names.h"
#include "names/status_codes.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    simboard::ParsedChannel parsed = simboard::parsePhysicalChannels(text);
    if (parsed.outcome.failed()) {
        fuzzRequire(parsed.outcome.status <= simboard::status::deviceNotPresent &&
                    parsed.outcome.status >= simboard::status::controlArgument);
        fuzzRequire(!parsed.outcome.detail.empty());
        return 0;
    }
    const simboard::PhysicalChannel &channel = parsed.channel;
    switch (channel.kind) {
    case simboard::ChannelKind::Digital:
        fuzzRequire(channel.port >= 0 && channel.port < simboard::portCount);
        fuzzRequire(channel.lineMask != 0);
        break;
    case simboard::ChannelKind::AnalogInput:
        fuzzRequire(channel.analogChannel >= 0 &&
                    channel.analogChannel < simboard::analogInputCount);
        break;
    case simboard::ChannelKind::AnalogOutput:
        fuzzRequire(channel.analogChannel >= 0 &&
                    channel.analogChannel < simboard::analogOutputCount);
        break;
    }
    return 0;
}
