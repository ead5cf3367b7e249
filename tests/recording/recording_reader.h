// A recording's file read back through HDF5's C API as a reader that follows a growing
// file would, with its samples in volts, every attribute and the events.
#ifndef TESTS_RECORDING_RECORDING_READER_H
#define TESTS_RECORDING_RECORDING_READER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ReadEvent {
    std::int64_t sampleIndex = 0;
    double timeOffset = 0.0;
    std::string kind;
    std::int32_t code = 0;
    std::int64_t duration = 0;
    std::string text;
};

// Texts and numbers (integers as numbers) of one object.
struct ReadAttributes {
    std::map<std::string, std::string> texts;
    std::map<std::string, double> numbers;
};

struct ReadRecording {
    ReadAttributes root;
    std::vector<ReadAttributes> channels;
    std::vector<std::map<std::string, double>> calibrations;
    std::int64_t rows = 0;
    int columns = 0;
    std::vector<double> volts; // row by row
    std::vector<ReadEvent> events;

    double at(std::int64_t row, int column) const { return volts[row * columns + column]; }
};

// Throws std::runtime_error when the file does not open or read.
ReadRecording readRecording(const std::string &path);

#endif
