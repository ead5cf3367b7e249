#include "message_line.h"

#include "panel_frame.h"
#include "uiruntime/userint.h"

namespace zelbrin {

namespace {

constexpr int noteColour = 0x202060;
constexpr int problemColour = 0xB00000;

} // namespace

void showMessage(int panel, const std::string &text, MessageKind kind) {
    SetCtrlAttribute(panel, PANEL_MESSAGE, ATTR_TEXT_COLOR,
                     kind == MessageKind::Problem ? problemColour : noteColour);
    SetCtrlVal(panel, PANEL_MESSAGE, text.c_str());
}

} // namespace zelbrin
