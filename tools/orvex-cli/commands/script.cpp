#include "script.h"

#include "core/command_line.h"
#include "core/line_reader.h"
#include "core/tool_errors.h"
#include "os/stop_request.h"
#include "script_line.h"

#include <cstdio>

namespace orvex_cli {
namespace {

// Deep enough for scripts made of scripts; a script that runs itself ends here instead of
// overflowing the stack.
constexpr int deepestNesting = 8;

// Leaves the script however its lines end, a bound of the input included.
class ScriptLevel {
  public:
    explicit ScriptLevel(Session &session) : session(session) { session.enterScript(); }
    ~ScriptLevel() { session.leaveScript(); }
    ScriptLevel(const ScriptLevel &) = delete;
    ScriptLevel &operator=(const ScriptLevel &) = delete;

  private:
    Session &session;
};

} // namespace

int runScript(const std::string &path, bool keepGoing, Session &session) {
    if (session.scriptNesting() >= deepestNesting) {
        throw UsageError("scripts run scripts more than " + std::to_string(deepestNesting) +
                         " deep; does one run itself?");
    }
    LineReader input(path, "script", true);
    const ScriptLevel level(session);
    int firstFailure = exitSuccess;
    std::string line;
    while (!stopRequested() && input.next(line)) {
        if (isBlankOrComment(line)) {
            continue;
        }
        const int status = runCommandLine(line, session);
        if (status == exitSuccess) {
            continue;
        }
        std::fprintf(stderr, "orvex: %sthis line failed\n", input.place().c_str());
        if (firstFailure == exitSuccess) {
            firstFailure = status;
        }
        if (!keepGoing) {
            break;
        }
    }
    return firstFailure;
}

} // namespace orvex_cli
