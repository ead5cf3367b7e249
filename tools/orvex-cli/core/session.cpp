#include "session.h"

#include "library_status.h"
#include "os/host_process.h"

#include <orvex.h>

#include <utility>

namespace orvex_cli {
namespace {

void setVariable(const char *name, const std::string &value) {
    if (!value.empty()) {
        setEnvironment(name, value);
    }
}

bool reportFailure(int status) {
    if (status >= 0) {
        return true;
    }
    printLibraryError();
    return false;
}

} // namespace

void Session::apply(const CommonOptions &options) {
    setVariable("ORVEX_DRIVER", options.driver);
    setVariable("ORVEX_SIM_BENCH", options.bench);
    setVariable("ORVEX_SIM_JOURNAL", options.journal);
    if (options.slot) {
        boardSlot = *options.slot;
        orvex_ni6251Slot(boardSlot);
    }
    isQuiet = isQuiet || options.quiet;
}

std::optional<std::uint8_t> Session::portMask(int port) const {
    return masks[port];
}

void Session::setPortMask(int port, std::uint8_t mask) {
    masks[port] = mask;
}

void Session::armInStep(InStepGeneration generation) {
    inStep.push_back(std::move(generation));
}

std::vector<InStepGeneration> Session::takeInStep() {
    return std::exchange(inStep, {});
}

bool Session::release() {
    bool released = true;
    if (generating >= 0) {
        released = reportFailure(orvex_analogOutStop(generating));
        generating = -1;
    }
    return reportFailure(orvex_ni6251Close()) && released;
}

std::string Session::boardName() const {
    return "PXI1Slot" + std::to_string(boardSlot);
}

std::string Session::physicalChannel(const char *kind, int channel) const {
    return boardName() + "/" + kind + std::to_string(channel);
}

} // namespace orvex_cli
