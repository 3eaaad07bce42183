#pragma once

#include <windows.h>

// Reports the exception being handled that ended one message of a window callback: one line of
// debug output naming the window and the message, so that no failure goes unseen while the file
// manager carries on. Call it only inside a catch block.
void ReportCallbackException(const wchar_t* window, int id, UINT message) noexcept;
