// What the running system offers.
#pragma once
#include <windows.h>

namespace win {

// True on an NT-family system with a major version above 4: layered (translucent) windows exist.
bool IsLayeredCapable();

}  // namespace win
