// The controls that are not in the panel file: the column of line buttons and
// indicators with S1 to S4, and the graph's range buttons.
#ifndef ZELBRIN_PORT_CONTROLS_H
#define ZELBRIN_PORT_CONTROLS_H

// Adds the 16 line indicators, 16 line buttons and S1 to S4 to panelHandle.
void createGUI();

extern "C" int setAxes(int panel, int control, int event, void *callbackData, int eventData1,
                       int eventData2);

#endif
