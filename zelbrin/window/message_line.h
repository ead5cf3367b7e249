// The window's message line: a short note on what the program did with the user's last
// action, or why it could not do it.
#ifndef ZELBRIN_WINDOW_MESSAGE_LINE_H
#define ZELBRIN_WINDOW_MESSAGE_LINE_H

#include <string>

namespace zelbrin {

enum class MessageKind { Note, Problem };

void showMessage(int panel, const std::string &text, MessageKind kind);

} // namespace zelbrin

#endif
