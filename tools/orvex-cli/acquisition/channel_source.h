// One input through the library's clocked read and continuous fetch, as the tool has
// always read it: inputs ai0 to ai7, referenced single-ended, ±10 V.
#ifndef TOOLS_ORVEX_CLI_ACQUISITION_CHANNEL_SOURCE_H
#define TOOLS_ORVEX_CLI_ACQUISITION_CHANNEL_SOURCE_H

#include "sample_source.h"

namespace orvex_cli {

class ChannelSource : public SampleSource {
  public:
    ChannelSource(const AcquisitionRequest &request, const Session &session);
    ~ChannelSource() override;
    void stop() override;

  protected:
    int read(double *scans, int count, double wait) override;
};

// The trigger as the library's clocked read takes it: an input with the board's name.
std::string triggerSource(const AcquisitionRequest &request, const Session &session);

} // namespace orvex_cli

#endif
