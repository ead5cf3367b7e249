// Where set-ups are kept: the user's own settings, remembered from one run to the next
// together with the window's place and size, and setup files the user saves and loads
// ("Save setup...", "Load setup...", zelbrin --setup FILE).
#ifndef ZELBRIN_SETUP_SETUP_FILES_H
#define ZELBRIN_SETUP_SETUP_FILES_H

namespace zelbrin {

// The user's settings: put on the window at start (a damaged store is refused with a
// message and the panel file's values stay), and kept at close.
void restoreRememberedSettings(int panel);
void rememberSettings(int panel);

// False, with a message in the window naming the file and the key at fault, when the
// file is refused; the window then keeps what it showed.
bool loadSetupFile(int panel, const char *path);

} // namespace zelbrin

extern "C" {
int saveSetupCB(int panel, int control, int event, void *callbackData, int eventData1,
                int eventData2);
int loadSetupCB(int panel, int control, int event, void *callbackData, int eventData1,
                int eventData2);
}

#endif
