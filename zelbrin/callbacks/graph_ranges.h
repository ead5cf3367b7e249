// The graph's range buttons: each sets both axes to one span.
#ifndef ZELBRIN_CALLBACKS_GRAPH_RANGES_H
#define ZELBRIN_CALLBACKS_GRAPH_RANGES_H

extern "C" int setAxes(int panel, int control, int event, void *callbackData, int eventData1,
                       int eventData2);

#endif
