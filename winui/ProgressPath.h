#pragma once

#include <string>

// The folder path a progress window shows: the scan records every folder it starts, the window's
// timer takes what to show. Paths recorded within one timer period shrink to their common start
// followed by "...", so the text stays readable however fast the scan runs.
class ProgressPath
{
  public:
    void Record(const std::wstring& path);
    // What the next tick shows: the pending text, or the last path when nothing was recorded since.
    std::wstring Take();

  private:
    std::wstring m_last;
    std::wstring m_pending;
};
