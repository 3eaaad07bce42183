#pragma once

#include "copynames/CFItem.h"
#include "copynames/ClipboardText.h"

#include <string>

// One parsed piece of an item format; writes its text for one item.
class ItemPartBase
{
  public:
    ItemPartBase() = default;
    ItemPartBase(const ItemPartBase&) = delete;
    ItemPartBase& operator=(const ItemPartBase&) = delete;
    virtual ~ItemPartBase() = default;
    virtual void AppendTo(const CFItem& item, ClipboardText& out) const = 0;
};

// Literal text, its escapes already resolved.
class ItemPartText final : public ItemPartBase
{
  public:
    explicit ItemPartText(std::wstring text) : m_text(std::move(text)) {}
    void AppendTo(const CFItem& item, ClipboardText& out) const override;
    const std::wstring& Text() const noexcept { return m_text; }

  private:
    std::wstring m_text;
};

// The item's path, name, folder, extension or name without extension.
class ItemPartPath final : public ItemPartBase
{
  public:
    enum class Kind
    {
        kFullPath = 0,
        kName = 1,
        kFolder = 2,
        kExtension = 3,
        kNameWithoutExtension = 4,
    };
    using enum Kind;
    enum class Separator
    {
        kBackslash = 0,
        kDoubleBackslash = 1,
        kForwardSlash = 2,
        kWslMount = 3, // forward slashes, a drive's root as a Linux shell on Windows mounts it: /mnt/c/
    };
    using enum Separator;
    enum class Encoding
    {
        kNoEncoding = 0,
        kEncodeNames = 1, // keeps '\', '/' and ':'
        kEncodeAll = 2,
        kEncodeMarkdown = 3,  // every ASCII punctuation character escaped with a backslash
        kEncodeNamesUtf8 = 4, // as kEncodeNames, each escape a byte of the character's UTF-8 form
        kEncodeAllUtf8 = 5,
        kEncodeJson = 6, // the inside of a JSON string: '"' and '\' escaped, control characters as \u00xx
        kShellQuote = 7, // one word of a POSIX shell: in single quotes, each ' as '\''
    };
    using enum Encoding;

    ItemPartPath(Kind kind, Separator separator, Encoding encoding)
        : m_kind(kind), m_separator(separator), m_encoding(encoding)
    {
    }
    void AppendTo(const CFItem& item, ClipboardText& out) const override;
    Kind GetKind() const noexcept { return m_kind; }

  private:
    Kind m_kind;
    Separator m_separator;
    Encoding m_encoding;
};

// One of the item's time stamps in the user's locale and time zone.
class ItemPartDate final : public ItemPartBase
{
  public:
    enum class Time
    {
        kLastWrite = 0,
        kCreation = 1,
        kLastAccess = 2,
    };
    using enum Time;
    enum class Format
    {
        kShortDate = 0,
        kLongDate = 1,
        kShortDateTime = 2,
        kLongDateTime = 3,
    };
    using enum Format;

    ItemPartDate(Time time, Format format) : m_time(time), m_format(format) {}
    void AppendTo(const CFItem& item, ClipboardText& out) const override;

  private:
    Time m_time;
    Format m_format;
};

// The item's size in bytes, KB, MB or GB (rounded up), or in the unit that suits it.
class ItemPartSize final : public ItemPartBase
{
  public:
    enum class Unit
    {
        kBytes = 0,
        kKilobytes = 1,
        kMegabytes = 2,
        kGigabytes = 3,
        kAuto = 4,
    };
    using enum Unit;

    explicit ItemPartSize(Unit unit) : m_unit(unit) {}
    void AppendTo(const CFItem& item, ClipboardText& out) const override;

  private:
    Unit m_unit;
};

// The shell's type name for the item's name ("Text Document"); the file is not opened.
class ItemPartType final : public ItemPartBase
{
  public:
    void AppendTo(const CFItem& item, ClipboardText& out) const override;
};

// The display text of a shell property, from the item's cache filled before formatting.
class ItemPartProperty final : public ItemPartBase
{
  public:
    // The canonical name without "System.".
    explicit ItemPartProperty(std::wstring name) : m_name(std::move(name)) {}
    void AppendTo(const CFItem& item, ClipboardText& out) const override;
    const std::wstring& Name() const noexcept { return m_name; }

  private:
    std::wstring m_name;
};
