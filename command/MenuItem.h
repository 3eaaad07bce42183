#pragma once

#include "command/Selection.h"
#include "winsupport/Window.h"

#include <string>

// The base of every command in the context menu: its menu text and what the handler runs. Its
// name, icon, help text and when it is shown are the command table's (menuconfig/CommandType.h).
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

    // The menu text as the string table has it, before "(s)" is resolved.
    const std::wstring& Text() const noexcept { return m_text; }

  private:
    std::wstring m_text;
};
