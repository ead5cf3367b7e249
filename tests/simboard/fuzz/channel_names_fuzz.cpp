// libFuzzer target of the physical channel name parser: any text must be either refused
// with a status from the board's own range and a detail, or give a channel that exists.
#include "channel_names.h"
#include "status_codes.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    simboard::ParsedChannel parsed = simboard::parsePhysicalChannels(text);
    if (parsed.outcome.failed()) {
        require(parsed.outcome.status <= simboard::status::deviceNotPresent &&
                parsed.outcome.status >= simboard::status::controlArgument);
        require(!parsed.outcome.detail.empty());
        return 0;
    }
    const simboard::PhysicalChannel &channel = parsed.channel;
    switch (channel.kind) {
    case simboard::ChannelKind::digital:
        require(channel.port >= 0 && channel.port < simboard::portCount);
        require(channel.lineMask != 0);
        break;
    case simboard::ChannelKind::analogInput:
        require(channel.analogChannel >= 0 && channel.analogChannel < simboard::analogInputCount);
        break;
    case simboard::ChannelKind::analogOutput:
        require(channel.analogChannel >= 0 && channel.analogChannel < simboard::analogOutputCount);
        break;
    }
    return 0;
}
