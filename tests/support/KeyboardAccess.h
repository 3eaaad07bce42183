#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a keyboard user finds in a running dialog, read through window messages so that it works
// on a dialog of another process too.

// The id of the control with the keyboard focus on the dialog's thread, or 0 when the focus is
// outside the dialog.
int FocusedControlId(HWND dialog);
// The default button's id (DM_GETDEFID), or 0 when the dialog has none.
int DefaultButtonId(HWND dialog);

// Faults of the access keys of a dialog with its visible pages: a control a user operates whose
// label (its own text for a button, the text just before it for an edit, list or drop-down list)
// has no access key, and a key given twice. OK and Cancel need none; owner-drawn controls and
// buttons showing a symbol rather than a word are left out. Each fault is a sentence naming the texts.
std::vector<std::wstring> AccessKeyFaults(HWND dialog);
