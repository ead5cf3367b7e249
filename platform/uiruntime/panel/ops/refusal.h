// How the panel runtime says no: one refusal, carrying the status that the C-style
// operations return and, where a person will read it, what was wrong and where.
#ifndef PLATFORM_UIRUNTIME_PANEL_OPS_REFUSAL_H
#define PLATFORM_UIRUNTIME_PANEL_OPS_REFUSAL_H

#include <QString>
#include <tl/expected.hpp>
#include <utility>

namespace panel {

struct Refusal {
    int status;    // a UI_ERROR_ code, always negative
    QString what;  // the fault; empty where the status says it all
    QString where; // the line and widget, or the path that was tried; may be empty
};

// A value, or the refusal that stands in its place.
template <typename T> using Result = tl::expected<T, Refusal>;

inline tl::unexpected<Refusal> refuse(int status, QString what = {}, QString where = {}) {
    return tl::unexpected<Refusal>(Refusal{status, std::move(what), std::move(where)});
}

} // namespace panel

#endif
