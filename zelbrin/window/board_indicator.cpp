#include "board_indicator.h"

#include "logic/library_status.h"

#include "panel_frame.h"
#include "uiruntime/userint.h"
#include <orvex.h>

#include <string>

namespace zelbrin {

namespace {

constexpr int answeringColour = 0x006000;
constexpr int silentColour = 0xB00000;
constexpr int untriedColour = 0x505050;

enum class BoardState { Untried, Answering, NotAnswering };

BoardState state = BoardState::Untried;
std::string shownText;

std::string firstLine(const char *text) {
    const std::string all = text ? text : "";
    return all.substr(0, all.find_first_of("\r\n"));
}

void show(int colour) {
    if (panelHandle > 0) {
        SetCtrlAttribute(panelHandle, PANEL_BOARD, ATTR_TEXT_COLOR, colour);
        SetCtrlVal(panelHandle, PANEL_BOARD, shownText.c_str());
    }
}

} // namespace

void noteBoardStatus(int status) {
    if (status == statusNoDriverCall) {
        return;
    }
    if (status >= 0) {
        if (state != BoardState::Answering) {
            state = BoardState::Answering;
            shownText = "\u25CF Board answering";
            show(answeringColour);
        }
        return;
    }
    state = BoardState::NotAnswering;
    shownText = "\u25CF Board not answering: " + std::to_string(orvex_GetLastError()) + ", " +
                firstLine(orvex_GetLastErrorBuffer());
    show(silentColour);
}

void showBoardState() {
    switch (state) {
    case BoardState::Untried:
        shownText = "\u25CB Board not asked yet";
        show(untriedColour);
        break;
    case BoardState::Answering:
        show(answeringColour);
        break;
    case BoardState::NotAnswering:
        show(silentColour);
        break;
    }
}

} // namespace zelbrin
