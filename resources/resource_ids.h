/* Identifiers of the main program's resources; shared by the resource script and the code. */
#ifndef ZENTARO_RESOURCE_IDS_H
#define ZENTARO_RESOURCE_IDS_H

#define IDI_ZENTARO 1
#define IDB_BACKGROUND 2
#define IDB_GLYPHS 3
#define IDR_RING_SOUND 10
#define IDB_ABOUT 20
#define RT_RING_SOUND "RING_SOUND"

#endif
