#include "display_check.h"

#include <QString>
#include <optional>
#include <string_view>
#include <xcb/xcb.h>

namespace panel {

namespace {

// The value of a Qt option given as "-name value", "--name value" or "-name=value".
std::optional<std::string> optionValue(char *argv[], std::string_view name) {
    for (int i = 1; argv && argv[i]; ++i) {
        std::string_view argument = argv[i];
        if (argument.starts_with("--")) {
            argument.remove_prefix(1);
        }
        if (!argument.starts_with("-") || argument.substr(1, name.size()) != name) {
            continue;
        }
        const std::string_view rest = argument.substr(1 + name.size());
        if (rest.starts_with("=")) {
            return std::string(rest.substr(1));
        }
        if (rest.empty() && argv[i + 1]) {
            return std::string(argv[i + 1]);
        }
    }
    return std::nullopt;
}

// Read as Qt reads them when it starts (its platform from QT_QPA_PLATFORM, its X11 display
// from DISPLAY), under the lock Qt holds for the environment.
std::string environment(const char *name) {
    return qEnvironmentVariable(name).toStdString();
}

// Qt takes the first platform of a ';'-separated list that starts, each possibly with
// ":options"; with none given it starts X11.  Only a list of X11 alone is checked, as any
// other entry may still start.
bool onlyX11(const std::string &platforms) {
    if (platforms.empty()) {
        return true;
    }
    std::string_view rest = platforms;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        const std::string_view entry = rest.substr(0, end);
        if (entry.substr(0, entry.find(':')) != "xcb") {
            return false;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return true;
}

} // namespace

void DisplayDisconnect::operator()(xcb_connection_t *connection) const {
    xcb_disconnect(connection);
}

tl::expected<HeldDisplay, std::string> reachDisplay(char *argv[]) {
    const std::string platforms =
        optionValue(argv, "platform").value_or(environment("QT_QPA_PLATFORM"));
    if (!onlyX11(platforms)) {
        return HeldDisplay();
    }
    const std::string display = optionValue(argv, "display").value_or(environment("DISPLAY"));
    if (display.empty()) {
        return tl::unexpected<std::string>("no display: DISPLAY is not set");
    }
    HeldDisplay connection(xcb_connect(display.c_str(), nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return tl::unexpected<std::string>("no display: cannot connect to the X display \"" +
                                           display + "\"");
    }
    return connection;
}

} // namespace panel
