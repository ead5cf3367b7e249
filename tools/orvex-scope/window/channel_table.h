// The sixteen inputs, a row each: in the scan or not, shown or not, colour, volts per
// division, offset, range and terminal configuration.
#ifndef TOOLS_ORVEX_SCOPE_WINDOW_CHANNEL_TABLE_H
#define TOOLS_ORVEX_SCOPE_WINDOW_CHANNEL_TABLE_H

#include "core/scope_setup.h"

#include <QTableWidget>

namespace scope {

class ChannelTable : public QTableWidget {
    Q_OBJECT
  public:
    explicit ChannelTable(QWidget *parent = nullptr);

    void showChannels(const std::array<ChannelSetup, inputCount> &channels);
    std::array<ChannelSetup, inputCount> channels() const;

  signals:
    void changed();

  private:
    void pickColour(int row);

    std::array<ChannelSetup, inputCount> channels_;
    bool showing_ = false; // filling the table: no change to report
};

} // namespace scope

#endif
