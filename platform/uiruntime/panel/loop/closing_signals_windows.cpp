#include "closing_signals.h"

namespace panel {

// Windows asks a program's windows to close with a window message, which Qt already
// turns into each window's close; a console's Ctrl+C keeps its own action.
struct ClosingSignalScope::Taken {};

ClosingSignalScope::ClosingSignalScope() = default;
ClosingSignalScope::~ClosingSignalScope() = default;

} // namespace panel
