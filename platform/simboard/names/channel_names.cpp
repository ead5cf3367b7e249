#include "channel_names.h"
#include "status_codes.h"

#include <algorithm>

#include <cctype>
#include <optional>
#include <string>

namespace simboard {
namespace {

// Reads the text left to right; every refusal quotes the whole name and says where.
class ChannelListParser {
  public:
    explicit ChannelListParser(std::string_view text) : text_(text) {}

    ParsedChannel parse() {
        skipSpaces();
        if (atEnd()) {
            return fail(status::emptyChannelList, "no channel named");
        }
        bool first = true;
        while (true) {
            skipSpaces();
            if (atEnd() || peek() == ',') {
                return fail(status::channelSyntax, "empty item in the list");
            }
            if (!parseItem(first)) {
                return result_;
            }
            first = false;
            skipSpaces();
            if (atEnd()) {
                return result_;
            }
            if (peek() != ',') {
                return fail(status::channelSyntax, "expected ',' between items");
            }
            ++pos_;
        }
    }

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    void skipSpaces() {
        while (!atEnd() && peek() == ' ') {
            ++pos_;
        }
    }

    bool acceptWord(std::string_view word) {
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (size_t i = 0; i < word.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) {
                return false;
            }
        }
        pos_ += word.size();
        return true;
    }

    // Up to three digits: every number on this board is small, and a longer one is an
    // out-of-range number rather than something to overflow on.
    std::optional<int> number() {
        size_t start = pos_;
        int value = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(peek())) != 0) {
            if (pos_ - start == 3) {
                return 999;
            }
            value = value * 10 + (peek() - '0');
            ++pos_;
        }
        if (pos_ == start) {
            return std::nullopt;
        }
        return value;
    }

    ParsedChannel fail(int32_t code, const std::string &why) {
        result_.outcome =
            refuse(code, "Physical channel \"" + std::string(text_) + "\", at position " +
                             std::to_string(pos_) + ": " + why + ".");
        return result_;
    }

    bool failed(int32_t code, const std::string &why) {
        fail(code, why);
        return false;
    }

    bool parseItem(bool first) {
        if (!atEnd() && peek() == '/') {
            ++pos_;
        }
        size_t deviceStart = pos_;
        while (!atEnd() && peek() != '/' && peek() != ',') {
            ++pos_;
        }
        std::string_view device = text_.substr(deviceStart, pos_ - deviceStart);
        if (device.empty()) {
            return failed(status::channelSyntax, "missing device name");
        }
        if (!sameDevice(device)) {
            pos_ = deviceStart;
            return failed(status::deviceNotPresent,
                          "device " + std::string(device) + " is not present in the system");
        }
        if (atEnd() || peek() != '/') {
            return failed(status::channelSyntax, "expected '/' after the device name");
        }
        ++pos_;
        if (acceptWord("port")) {
            return parseDigital(first);
        }
        if (acceptWord("ai")) {
            return parseAnalog(first, ChannelKind::AnalogInput, analogInputCount);
        }
        if (acceptWord("ao")) {
            return parseAnalog(first, ChannelKind::AnalogOutput, analogOutputCount);
        }
        return failed(status::channelSyntax, "expected port, ai or ao");
    }

    static bool sameDevice(std::string_view device) {
        std::string_view board = boardDeviceName;
        if (device.size() != board.size()) {
            return false;
        }
        for (size_t i = 0; i < device.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(device[i])) !=
                std::tolower(static_cast<unsigned char>(board[i]))) {
                return false;
            }
        }
        return true;
    }

    bool parseDigital(bool first) {
        std::optional<int> port = number();
        if (!port) {
            return failed(status::channelSyntax, "expected a port number");
        }
        if (*port >= portCount) {
            return failed(status::portOutOfRange,
                          "port " + std::to_string(*port) + " does not exist (ports 0 to 2)");
        }
        uint8_t lines = 0xFF;
        if (!atEnd() && peek() == '/') {
            ++pos_;
            if (!acceptWord("line")) {
                return failed(status::channelSyntax, "expected line after the port");
            }
            std::optional<uint8_t> range = lineRange();
            if (!range) {
                return false;
            }
            lines = *range;
        }
        if (first) {
            result_.channel = {ChannelKind::Digital, *port, lines, 0};
            return true;
        }
        if (result_.channel.kind != ChannelKind::Digital) {
            return failed(status::channelKindMismatch, "digital lines mixed with analog channels");
        }
        if (result_.channel.port != *port) {
            return failed(status::channelKindMismatch,
                          "all lines of a channel must be in one port");
        }
        if ((result_.channel.lineMask & lines) != 0) {
            return failed(status::lineNamedTwice, "a line is named more than once");
        }
        result_.channel.lineMask |= lines;
        return true;
    }

    std::optional<uint8_t> lineRange() {
        std::optional<int> from = lineNumber();
        if (!from) {
            return std::nullopt;
        }
        int to = *from;
        if (!atEnd() && peek() == ':') {
            ++pos_;
            std::optional<int> last = lineNumber();
            if (!last) {
                return std::nullopt;
            }
            to = *last;
        }
        int low = std::min(*from, to);
        int high = std::max(*from, to);
        return static_cast<uint8_t>(((1u << (high + 1)) - 1u) & ~((1u << low) - 1u));
    }

    std::optional<int> lineNumber() {
        std::optional<int> line = number();
        if (!line) {
            fail(status::channelSyntax, "expected a line number");
            return std::nullopt;
        }
        if (*line >= linesPerPort) {
            fail(status::lineOutOfRange,
                 "line " + std::to_string(*line) + " does not exist (lines 0 to 7)");
            return std::nullopt;
        }
        return line;
    }

    bool parseAnalog(bool first, ChannelKind kind, int count) {
        std::optional<int> from = analogNumber(count);
        if (!from) {
            return false;
        }
        int to = *from;
        if (!atEnd() && peek() == ':') {
            ++pos_;
            std::optional<int> last = analogNumber(count);
            if (!last) {
                return false;
            }
            to = *last;
        }
        if (first) {
            result_.channel = {kind, 0, 0, *from};
        } else if (result_.channel.kind == ChannelKind::Digital) {
            return failed(status::taskAlreadyHasChannel,
                          "analog channels mixed with digital lines");
        } else if (result_.channel.kind != kind) {
            return failed(status::channelKindMismatch, "analog inputs mixed with outputs");
        }
        int step = to >= *from ? 1 : -1;
        for (int channel = *from;; channel += step) {
            result_.analogChannels.push_back(channel);
            if (channel == to) {
                return true;
            }
        }
    }

    std::optional<int> analogNumber(int count) {
        std::optional<int> channel = number();
        if (!channel) {
            fail(status::channelSyntax, "expected a channel number");
            return std::nullopt;
        }
        if (*channel >= count) {
            fail(status::channelSyntax, "channel " + std::to_string(*channel) +
                                            " does not exist (0 to " + std::to_string(count - 1) +
                                            ")");
            return std::nullopt;
        }
        return channel;
    }

    std::string_view text_;
    size_t pos_ = 0;
    ParsedChannel result_;
};

} // namespace

ParsedChannel parsePhysicalChannels(std::string_view text) {
    return ChannelListParser(text).parse();
}

} // namespace simboard
