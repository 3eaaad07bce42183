#pragma once

#include "winsupport/MAbortBase.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// What one entry of a folder counts for when the scan decides whether the folder is empty.
enum class EntryWeight
{
    Nothing,    // a link (symbolic link, junction): never followed, never counted
    Subfolder,  // a plain folder, scanned in turn
    HiddenFile, // a hidden file other than the shell's own desktop.ini and Thumbs.db
    File,       // any other file, or a reparse point that holds data
};

// Only name surrogates (links to another place) hold nothing of their own; every other reparse
// point (deduplicated, cloud-tiered, placeholder) stands for data. A tag of 0 is taken for a link.
bool ReparsePointHoldsData(DWORD reparseTag) noexcept;
// The weight of an entry as a folder enumeration reports it; the tag matters only for reparse points.
EntryWeight WeighEntry(DWORD attributes, DWORD reparseTag, std::wstring_view name) noexcept;

// One folder visited by the empty-folder scan. The nodes of one selected folder live in one list;
// a node's children follow each other in it.
struct ScanNode
{
    enum Level : int
    {
        kEmpty = 0,       // no file found so far
        kHiddenFiles = 1, // holds hidden files other than desktop.ini and Thumbs.db
        kFiles = 2,       // holds other files, or cannot be read
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);

    size_t parent = kNone;
    std::wstring name; // a selected folder's full path, else the entry name
    size_t firstChild = 0;
    size_t childCount = 0;
    int level = kEmpty;
};

// Finds the folders under the selected ones that hold no file anywhere below them. The tree is
// walked with an explicit stack: a chain of folders can be thousands of levels deep, and the file
// manager's thread has a small stack.
class EmptyFolderScan
{
  public:
    explicit EmptyFolderScan(MAbortBase& progress) noexcept : m_progress(progress) {}

    // Scans each folder in turn; false when the user cancelled. Found() is then sorted ordinally.
    bool Run(const std::vector<std::wstring>& selectedFolders);
    const std::vector<std::wstring>& Found() const noexcept { return m_found; }

  private:
    bool ScanTree(const std::wstring& root);
    bool ReadFolder(size_t node, const std::wstring& path);
    void Raise(size_t node, int level) noexcept;
    std::wstring FullPath(size_t node) const;
    void Collect();

    MAbortBase& m_progress;
    std::vector<ScanNode> m_nodes; // the tree of the selected folder being scanned
    std::vector<std::wstring> m_found;
};

// The folders that, read again now, are still plain folders holding nothing that counts. Delete
// Empty Folders asks this just before deleting: a file saved into a listed folder while its list
// was shown must never go with the folder.
std::vector<std::wstring> FoldersStillEmpty(const std::vector<std::wstring>& folders);
