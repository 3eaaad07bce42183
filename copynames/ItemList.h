#pragma once

#include "copynames/CFItem.h"
#include "winsupport/MAbortBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a folder scan reads the selected folders; kept by the copy options dialog.
struct FolderScanOptions
{
    enum class Mode
    {
        kFilesOnly = 0,
        kFoldersOnly = 1,
        kFilesAndFolders = 2,
    };
    using enum Mode;

    bool scanFolders = false; // the dialog's choice whether to scan at all; the scan ignores it
    Mode mode = kFilesOnly;
    bool depthLimited = false;
    int depth = 1; // levels read when depthLimited: 1 reads only the selected folder's own entries
    bool includeOn = false;
    std::wstring includePattern = L"*.*";
    bool excludeOn = false;
    std::wstring excludePattern = L"*.*";

    bool operator==(const FolderScanOptions&) const = default;
};

// The orders the copied list can be sorted in; the values are stored in the settings and are the
// positions of the dialog's sort list. Each descending order follows its ascending one.
enum class SortOption
{
    AsSelected = 0,
    NameAscending = 1,
    NameDescending = 2,
    SizeAscending = 3,
    SizeDescending = 4,
    ModifiedAscending = 5,
    ModifiedDescending = 6,
    PathLengthAscending = 7,
    PathLengthDescending = 8,
};
inline constexpr int kSortOptionCount = static_cast<int>(SortOption::PathLengthDescending) + 1;

// The selected items, each selected folder with what a scan found below it, and the flattened,
// sorted order in which they are formatted.
class ItemList
{
  public:
    // Adds one selected path; a path whose attributes cannot be read is skipped. The list keeps a
    // view of the text: it must outlive the list unchanged (the selection does).
    void AddPath(std::wstring_view path);
    // Recomputes the output from the items, in selection order.
    void Flatten();
    // Sorts the output by the sort option and marks the list changed.
    void Sort();
    // Sorts by another option; "as selected" goes back to the selection order.
    void SetSortOption(SortOption option);
    // Forgets what folder scans found: the selected folders stand for themselves again, in the
    // current sort order.
    void DropScanResults();

    const std::vector<std::unique_ptr<CFItem>>& Items() const noexcept { return m_items; }
    size_t ItemCount() const noexcept { return m_items.size(); }
    const std::vector<const CFItem*>& Output() const noexcept { return m_output; }
    uint64_t TotalSize() const noexcept { return m_totalSize; }
    bool ContainsFolders() const noexcept { return m_containsFolders; }

    // Folders are replaced in the output by their scanned children...
    bool expand = false;
    // ...and, when this is set as well, preceded by themselves.
    bool includeFolders = false;
    SortOption sortOption = SortOption::AsSelected;
    // Set by every Sort; the dialog clears it once its preview shows the new order.
    bool changed = false;

  private:
    friend void ScanSelectedFolders(ItemList& list, MAbortBase& abort, const FolderScanOptions& options);

    std::vector<std::unique_ptr<CFItem>> m_items;
    std::vector<const CFItem*> m_output;
    uint64_t m_totalSize = 0;
    bool m_containsFolders = false;
};

// Replaces the folder's children by a fresh scan of it.
void ScanFolder(FolderCFItem& folder, MAbortBase& abort, const FolderScanOptions& options);
// Scans every selected folder and lists their contents; cancelling leaves each selected folder
// listed as itself. Ends with Flatten and Sort.
void ScanSelectedFolders(ItemList& list, MAbortBase& abort, const FolderScanOptions& options);

// Matches a name against a wildcard pattern, both already lower-cased: '*' any run, '?' one
// character, '\' makes the next character literal, '/' is ignored.
bool MatchWildcard(std::wstring_view pattern, std::wstring_view name) noexcept;

// The status line's wording: "Files & Folders" or "Files".
bool StatusCountsFolders(const ItemList& list, const FolderScanOptions& options) noexcept;
