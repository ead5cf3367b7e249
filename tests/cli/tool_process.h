// Runs the built `orvex` as a separate process, as a user or a shell script would.
#ifndef TESTS_CLI_TOOL_PROCESS_H
#define TESTS_CLI_TOOL_PROCESS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ToolResult {
    int status = -1; // exit status, or -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

// A scratch folder of its own per test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string file(const std::string &name) const { return path + "/" + name; }

  private:
    std::string path;
};

// The tool started in the background; finish() waits for it.
class ToolProcess {
  public:
    ToolProcess(const std::vector<std::string> &args, const std::string &input = "");
    ~ToolProcess();
    // SIGINT or SIGTERM.  Windows sends a console program neither: there both are the
    // Ctrl-C key pressed in the tool's console.
    void signal(int number) const;
    ToolResult finish();
    // Nothing when the tool has not ended by then; it is killed with the object.
    std::optional<ToolResult> finishWithin(double seconds);

  private:
    ScratchFolder streams;
    std::uintptr_t child; // the process id, or the process handle on Windows
};

// Runs to the end with `input` on standard input.
ToolResult runTool(const std::vector<std::string> &args, const std::string &input = "");
// Likewise, for a run that might never end: nothing when it has not ended in time.
std::optional<ToolResult> runToolWithin(double seconds, const std::vector<std::string> &args,
                                        const std::string &input = "");
#ifndef _WIN32
// `fileSizeLimit` (bytes) makes larger writes fail, as a full disk would.  Windows has no
// such limit for one process.
ToolResult runToolWithFileLimit(const std::vector<std::string> &args, long fileSizeLimit);
#endif

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &text);

// The bench file of these tests: virtual time, fixed seed, known stand levels.
std::string virtualBench();

#endif
