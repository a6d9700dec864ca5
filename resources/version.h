/* The suite's version, shared by the version resources, the about window and the tray tip. */
#ifndef ZENTARO_VERSION_H
#define ZENTARO_VERSION_H

#define ZENTARO_VERSION_MAJOR 2
#define ZENTARO_VERSION_MINOR 1
#define ZENTARO_VERSION_TEXT "2.01"
#define ZENTARO_PRODUCT_NAME "Zentaro"

#endif
