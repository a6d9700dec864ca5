#include "shell/Main.h"

#include <windows.h>

// The clock window arrives with the next change; until then the program starts and ends.
int Main() { return 0; }
