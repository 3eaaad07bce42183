#pragma once

#include "command/Selection.h"
#include "menuconfig/CommandType.h"
#include "winui/Window.h"

#include <string>

// The base of every command in the context menu: its menu text and the operations the handler
// calls. Each command answers its help text and icon from its row of the command table
// (menuconfig/CommandType.h), which also says when the menu shows it.
class MenuItem
{
  public:
    explicit MenuItem(std::wstring text) : m_text(std::move(text)) {}
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    virtual ~MenuItem() = default;

    // Runs the command to completion. parent wraps the file manager's window (maybe empty); it is
    // valid only during the call and the command never destroys it.
    virtual void Invoke(const Selection& selection, KeyFlags keys, const CWindow& parent) = 0;
    virtual std::wstring GetHelpText() const = 0;
    // Number of the menu icon, 1 to 9; 0 for none.
    virtual int GetIconId() const { return 0; }

    // The menu text as the string table has it, before "(s)" is resolved.
    const std::wstring& Text() const noexcept { return m_text; }

  private:
    std::wstring m_text;
};
