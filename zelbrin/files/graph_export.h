// "Export PNG...": the graph as it appears, axes and titles included, to a PNG file.
#ifndef ZELBRIN_FILES_GRAPH_EXPORT_H
#define ZELBRIN_FILES_GRAPH_EXPORT_H

extern "C" int exportGraphCB(int panel, int control, int event, void *callbackData, int eventData1,
                             int eventData2);

#endif
