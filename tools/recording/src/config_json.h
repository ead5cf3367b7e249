// A recording's configuration from the JSON object that orvex_recording.h describes.
#ifndef TOOLS_RECORDING_SRC_CONFIG_JSON_H
#define TOOLS_RECORDING_SRC_CONFIG_JSON_H

#include <recording/recording_config.h>

#include <string_view>

namespace recording {

// Throws std::invalid_argument naming the key at fault ("channels[2].range: a number is
// needed") for text that is no JSON object, an unknown key or a value of the wrong type;
// the values themselves are the Recorder's to check.
RecordingConfig configFromJson(std::string_view text);

} // namespace recording

#endif
