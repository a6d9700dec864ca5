// Small helpers shared by the main program's modules.
#pragma once
#include <windows.h>

// FileNameOfPath and DirectoryOfPath: a program path split at its last backslash (pure).
#include "shell/PathParts.h"

// True on an NT-family system with a major version above 4: layered (translucent) windows exist.
bool IsLayeredCapable();

// The high and low 16 bits of a 32-bit message parameter.
inline WORD HiWord(DWORD_PTR value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
inline WORD LoWord(DWORD_PTR value) { return static_cast<WORD>(value & 0xFFFF); }
