// The file names of a recording's files, from a pattern and each file's first sample
// time (recording_config.h gives the pattern's syntax).
#ifndef TOOLS_RECORDING_SRC_FILE_NAME_PATTERN_H
#define TOOLS_RECORDING_SRC_FILE_NAME_PATTERN_H

#include <string>

namespace recording {

// Throws std::invalid_argument for an empty pattern or an unknown or unfinished %.
void checkFileNamePattern(const std::string &pattern);

std::string fileName(const std::string &pattern, double startEpochSeconds, int number);

} // namespace recording

#endif
