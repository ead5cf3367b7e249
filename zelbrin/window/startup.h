// The program's life: prepare the board, open the window, run until it is closed, then
// release the window and the board.
#ifndef ZELBRIN_WINDOW_STARTUP_H
#define ZELBRIN_WINDOW_STARTUP_H

namespace zelbrin {

// Exit status 0 after the window was closed; 1 when the window could not be opened
// (one line on the error output names the cause); 2 for an option without its value.
// --help and --version print their text and end with 0 before the board or the window
// is touched.
int zelbrinMain(int argc, char *argv[]);

// The steps of zelbrinMain.  prepareBoard reports board failures and never stops the
// start-up; openWindow returns false, after reporting why, when no window is shown;
// closeDown runs on every path.
void prepareBoard();
bool openWindow(char *argv[]);
void closeDown();

} // namespace zelbrin

extern "C" int panelCB(int panel, int event, void *callbackData, int eventData1, int eventData2);

#endif
