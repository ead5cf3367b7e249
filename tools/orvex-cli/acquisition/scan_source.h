// A scan of the request's channels through the library's orvex_scan functions: set up,
// started continuous and read in blocks interleaved by scan, with the in-step outputs
// armed for its start and disarmed after it.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_SCAN_SOURCE_H
#define TOOLS_ORVEX_CLI_ACQUISITION_SCAN_SOURCE_H

#include "sample_source.h"

namespace orvex_cli {

// The in-step outputs stay stored in the library for every later scan; a script's next
// acquisition must not start them again.
class InStepArming {
  public:
    explicit InStepArming(const std::optional<InStepOutput> &output);
    ~InStepArming();
    InStepArming(const InStepArming &) = delete;
    InStepArming &operator=(const InStepArming &) = delete;

  private:
    bool armed = false;
};

class ScanSource : public SampleSource {
  public:
    explicit ScanSource(const AcquisitionRequest &request);
    ~ScanSource() override;
    void stop() override;
    std::optional<ScanTiming> timing() const override;

  protected:
    int read(double *scans, int count, double wait) override;

  private:
    InStepArming inStep;
    bool running = false;
};

} // namespace orvex_cli

#endif
