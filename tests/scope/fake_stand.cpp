#include "fake_stand.h"

#include <string>

namespace scope_test {

namespace {

class FakeScanSource : public scope::ScanSource {
  public:
    explicit FakeScanSource(std::shared_ptr<FakeStand> stand) : stand_(std::move(stand)) {}

    int start(const scope::ScanPlan &plan) override {
        if (stand_->heldStarts > 0) {
            --stand_->heldStarts;
            error_ = holderMessage;
            return converterHeld;
        }
        ++stand_->starts;
        plan_ = plan;
        scans_ = 0;
        return 0;
    }

    int read(double *data, int scans, int *count, double /*timeout*/) override {
        const std::size_t width = plan_.inputs.size();
        for (int scan = 0; scan < scans; ++scan, ++scans_) {
            for (std::size_t k = 0; k < width; ++k) {
                data[static_cast<std::size_t>(scan) * width + k] = wired(plan_.inputs[k].input);
            }
        }
        *count = scans;
        return 0;
    }

    int takePort(int /*port*/) override { return 0; }

    int readPort(int port, unsigned char *levels) override {
        *levels = static_cast<unsigned char>(stand_->lineLevels >> (port * scope::linesPerPort));
        return 0;
    }

    long long stop() override { return scans_; }
    QString lastError() const override { return QString::fromStdString(error_); }
    double rate() const override { return plan_.rate; }

  private:
    // What ao0 or ao1 drives now, read on the input wired to it.
    double wired(int input) const {
        const scope::OutputBlock &outputs = plan_.outputs;
        const std::string output = "ao" + std::to_string(input);
        const bool both = outputs.channels == "ao0:1";
        if (input > 1 || (!both && outputs.channels != output) || outputs.samplesPerChannel <= 0) {
            return 0.0;
        }
        const auto perChannel = static_cast<long long>(outputs.samplesPerChannel);
        const long long offset = both ? input * perChannel : 0;
        return outputs.data[static_cast<std::size_t>(offset + scans_ % perChannel)];
    }

    std::shared_ptr<FakeStand> stand_;
    scope::ScanPlan plan_;
    long long scans_ = 0;
    std::string error_;
};

} // namespace

scope::ScanSourceMaker fakeSource(std::shared_ptr<FakeStand> stand) {
    return [stand] { return std::make_unique<FakeScanSource>(stand); };
}

} // namespace scope_test
