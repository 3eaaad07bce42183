#pragma once

#include <string>

// How a long folder scan reports where it is and learns that the user has cancelled. The progress
// windows implement it; the scan runs on their thread, so IsAborted dispatches pending window
// messages before it answers, which keeps their Cancel button alive.
class MAbortBase
{
  public:
    virtual ~MAbortBase() = default;

    // Full path (never the long-path form) of the folder about to be read.
    virtual void SetCurrentFolder(const std::wstring& folder) = 0;
    // True once the user has cancelled.
    virtual bool IsAborted() = 0;
};
