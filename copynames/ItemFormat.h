#pragma once

#include "copynames/ClipboardText.h"
#include "copynames/ItemList.h"
#include "copynames/ItemParts.h"

#include <memory>
#include <string>
#include <vector>

// An item format: a definition of literal text and attribute references ("$name",
// "$moddate:longdate") parsed into parts, and the separator written between items.
class ItemFormat
{
  public:
    // Parses the definition unless it is the current one. False when it is invalid; the message
    // is then in Error(), and the parts read before the error stay.
    [[nodiscard]] bool SetDefinition(const std::wstring& text);
    // The separator as typed, its escapes resolved when formatting.
    void SetSeparator(const std::wstring& text);
    // One path part of the given kind, items on lines of their own, a line break after the last
    // of two or more: what the plain copy commands put on the clipboard.
    void MakeSimple(ItemPartPath::Kind pathKind);
    // Writes every item of the list's output into text, replacing what it held.
    void Format(const ItemList& list, ClipboardText& text) const;

    const std::vector<std::unique_ptr<ItemPartBase>>& Parts() const noexcept { return m_parts; }
    const std::wstring& Definition() const noexcept { return m_definition; }
    const std::wstring& Separator() const noexcept { return m_separator; }
    const std::wstring& Error() const noexcept { return m_error; }
    bool HasTrailingNewline() const noexcept { return m_trailingNewline; }

    // Set whenever the definition or separator changes; the dialog clears it after its preview.
    bool changed = false;

  private:
    void Parse();
    // Reads one attribute reference at m_position (just after its '$').
    void ParseReference();
    std::unique_ptr<ItemPartBase> MakePart(const std::wstring& name, const std::wstring& parameter);

    std::vector<std::unique_ptr<ItemPartBase>> m_parts;
    std::wstring m_definition;
    bool m_hasDefinition = false;
    std::wstring m_separator;
    bool m_trailingNewline = false;
    std::wstring m_error;
    size_t m_position = 0;
};

// The separator with its escapes resolved: \n, \r, \t, and '\' before any other character
// giving that character; a '\' at the very end is dropped.
std::wstring ResolveSeparator(const std::wstring& separator);
