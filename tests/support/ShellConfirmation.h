#pragma once

#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

// Answers the shell's confirmation windows (such as "send to the Recycle Bin?") while it lives:
// a helper thread finds each visible dialog window of this process that has the given button and
// clicks it once. The shell's file operations block the test's thread until they are answered.
class ShellConfirmationAnswerer
{
  public:
    explicit ShellConfirmationAnswerer(int buttonId = IDYES);
    ShellConfirmationAnswerer(const ShellConfirmationAnswerer&) = delete;
    ShellConfirmationAnswerer& operator=(const ShellConfirmationAnswerer&) = delete;
    ~ShellConfirmationAnswerer();

    // How many windows were answered so far.
    int Answered() const noexcept { return m_answered.load(); }

  private:
    void Run() noexcept;
    static BOOL CALLBACK AnswerWindow(HWND window, LPARAM context) noexcept;

    const int m_buttonId;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::set<HWND> m_seen; // used by the helper thread only
    std::thread m_thread;
};
