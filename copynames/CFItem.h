#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One item whose attributes the copy commands print: a selected path, or an entry found by
// scanning a selected folder.
class CFItem
{
  public:
    CFItem(const CFItem&) = delete;
    CFItem& operator=(const CFItem&) = delete;
    virtual ~CFItem() = default;
    virtual bool IsFolder() const = 0;

    // The full path as the user knows it (never the long-path form), NUL-terminated.
    std::wstring_view Path() const noexcept { return {m_path, m_pathLength}; }
    const wchar_t* PathCStr() const noexcept { return m_path; }
    // A selected item's last path component; a scanned item's path below the parent of its
    // selected folder (photos\2019\a.jpg).
    std::wstring_view Name() const noexcept { return Path().substr(m_nameStart); }

    // File times in UTC; 0 when not available.
    uint64_t lastWriteTime = 0;
    uint64_t creationTime = 0;
    uint64_t lastAccessTime = 0;
    // In bytes; 0 for a directory.
    uint64_t size = 0;
    // Display texts of shell properties, by canonical name without "System."; a cache filled
    // just before formatting, so it may change on an item the list hands out as const.
    mutable std::map<std::wstring, std::wstring, std::less<>> propertyValues;

  protected:
    CFItem() = default;
    // path must stay alive, unchanged and NUL-terminated as long as the item.
    void SetPath(std::wstring_view path, size_t nameStart) noexcept
    {
        m_path = path.data();
        m_pathLength = path.size();
        m_nameStart = nameStart;
    }

  private:
    const wchar_t* m_path = L"";
    size_t m_pathLength = 0;
    size_t m_nameStart = 0;
};

// A selected path that is not a plain directory: a file, or a directory that is a link.
class FileCFItem final : public CFItem
{
  public:
    // The path is the selection's own text and is not copied: the selection outlives the list.
    explicit FileCFItem(std::wstring_view selectedPath);
    bool IsFolder() const override { return false; }
};

// An entry found by scanning a selected folder; it owns its path.
class ExpandedCFItem final : public CFItem
{
  public:
    enum class Kind
    {
        kFile = 0,
        kDirectory = 1,
        kReparsePoint = 2,
    };
    using enum Kind;

    // root ends with '\'; relativePath starts with the selected folder's own name.
    ExpandedCFItem(std::wstring_view root, std::wstring_view relativePath, Kind kind);
    bool IsFolder() const override { return m_kind != kFile; }
    Kind GetKind() const noexcept { return m_kind; }

  private:
    std::wstring m_ownPath;
    Kind m_kind;
};

// A selected plain directory, with the entries a scan found below it.
class FolderCFItem final : public CFItem
{
  public:
    explicit FolderCFItem(std::wstring_view selectedPath);
    bool IsFolder() const override { return true; }

    std::vector<std::unique_ptr<ExpandedCFItem>> children;
};

// Where a path's name begins: after its last '\', or the whole path when it has none.
size_t NameStartOf(std::wstring_view path) noexcept;
