#include "scan_source.h"

#include <orvex.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace scope {

namespace {

std::string inputName(int input) {
    return "ai" + std::to_string(input);
}

class BoardScanSource : public ScanSource {
  public:
    int start(const ScanPlan &plan) override {
        const int status = setUp(plan);
        return status < 0 ? status : orvex_scanStart(0);
    }

    int read(double *data, int scans, int *count, double timeout) override {
        return orvex_scanReadEx(data, scans, ORVEX_BY_SCAN, count, timeout);
    }

    int takePort(int port) override {
        // Even refused, the library keeps the port's configuration, to start it later.
        portsTaken_ = true;
        return orvex_portMask(port, 0x00);
    }

    int readPort(int port, unsigned char *levels) override { return orvex_portIn(port, levels); }

    long long stop() override {
        orvex_ScanInfo info{};
        orvex_scanInfo(&info);
        orvex_scanStop();
        // The library keeps a port's task running until it closes: without this, the lab
        // window started after a run would be refused the ports.
        if (portsTaken_) {
            orvex_ni6251Close();
            portsTaken_ = false;
        }
        return info.samplesRead;
    }

    QString lastError() const override {
        return QString::fromLocal8Bit(orvex_GetLastErrorBuffer()).trimmed();
    }

    double rate() const override {
        orvex_ScanInfo info{};
        orvex_scanInfo(&info);
        return info.rate;
    }

  private:
    bool portsTaken_ = false;

    static int setUp(const ScanPlan &plan) {
        std::string list;
        for (const ScanInput &input : plan.inputs) {
            list += (list.empty() ? "" : ",") + inputName(input.input);
        }
        if (plan.inputs.empty()) {
            std::snprintf(orvex_GetLastErrorBuffer(), ERROR_BUFFER_SIZE,
                          "No input is switched on.");
            return -1;
        }
        int status =
            orvex_scanChannels(list.c_str(), plan.inputs[0].range, plan.inputs[0].terminal);
        for (const ScanInput &input : plan.inputs) {
            status = status < 0 ? status
                                : orvex_scanChannelSetup(inputName(input.input).c_str(),
                                                         input.range, input.terminal);
        }
        status = status < 0 ? status : orvex_scanClock(plan.rate);
        status = status < 0 ? status : orvex_scanTrigger(nullptr, 0.0, ORVEX_RISING);
        const OutputBlock &outputs = plan.outputs;
        return status < 0
                   ? status
                   : orvex_scanOutput(outputs.channels.empty() ? nullptr : outputs.channels.c_str(),
                                      outputs.data.empty() ? nullptr : outputs.data.data(),
                                      std::max(1, outputs.samplesPerChannel),
                                      plan.outputsOnScanClock ? 1 : 0, plan.outputRate);
    }
};

} // namespace

std::unique_ptr<ScanSource> boardScanSource() {
    return std::make_unique<BoardScanSource>();
}

} // namespace scope
