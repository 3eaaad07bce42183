#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// What a window of ours tells assistive technology beyond what the platform's standard object for
// the window knows. child is CHILDID_SELF for the window itself, else the id of one of its items
// (a list's row n is child n + 1). An empty answer leaves the question to the standard object.
class AccessibleFacts
{
  public:
    virtual std::optional<std::wstring> AccessibleName(long /*child*/) const { return std::nullopt; }
    virtual std::optional<std::wstring> AccessibleValue(long /*child*/) const { return std::nullopt; }
    virtual std::optional<std::wstring> AccessibleDescription(long /*child*/) const { return std::nullopt; }
    virtual std::optional<long> AccessibleRole(long /*child*/) const { return std::nullopt; }
    // The state bits the standard object gives, with what the window knows better.
    virtual long AccessibleState(long /*child*/, long standard) const { return standard; }

  protected:
    ~AccessibleFacts() = default;
};

// Answers WM_GETOBJECT for the client area of a window with an IAccessible that asks the facts
// first and the standard object after. Screen readers may keep that object after the window is
// gone: once this is destroyed, what they hold answers RPC_E_DISCONNECTED.
class AccessibleObject
{
  public:
    explicit AccessibleObject(const AccessibleFacts& facts);
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;
    ~AccessibleObject();

    // For the window's WM_GETOBJECT: the answer for OBJID_CLIENT, nothing for other requests.
    std::optional<LRESULT> OnGetObject(HWND window, WPARAM wParam, LPARAM lParam) const;

    struct Link
    {
        const AccessibleFacts* facts;
    };

  private:
    std::shared_ptr<Link> m_link;
};

// The text of a control's label as assistive technology reads it: the nearest earlier sibling in
// the tab order that is static text or a group box, without its access-key marks; empty when a
// control a user operates comes first.
std::wstring AccessibleLabel(HWND control);
