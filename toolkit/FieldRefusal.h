// Refusing a form's field: the form stays open, the field takes the focus with its text
// selected, and a warning owned by the form says in one line what the field accepts.
#pragma once
#include <windows.h>

#include <string>

namespace toolkit {

// field is an edit control or a combo box of form (not owned); the warning carries the form's
// title. Returns when the user has closed the warning.
void RefuseField(HWND form, HWND field, const std::string& message);

}  // namespace toolkit
