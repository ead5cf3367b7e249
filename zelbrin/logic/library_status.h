// What a status of the orvex library says about the board beyond success or failure.
#ifndef ZELBRIN_LOGIC_LIBRARY_STATUS_H
#define ZELBRIN_LOGIC_LIBRARY_STATUS_H

namespace zelbrin {

// The library's status for a call whose checks passed and that needed no driver call: it
// says nothing about the board, and a read that gives it has read nothing.
inline constexpr int statusNoDriverCall = 1;

} // namespace zelbrin

#endif
