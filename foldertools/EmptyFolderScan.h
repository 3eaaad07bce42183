#pragma once

#include "copynames/MAbortBase.h"

#include <memory>
#include <string>
#include <vector>

// One folder visited by the empty-folder scan.
struct ScanNode
{
    enum Level : int
    {
        kEmpty = 0,       // no file found so far
        kHiddenFiles = 1, // holds hidden files other than desktop.ini and Thumbs.db
        kFiles = 2,       // holds other files, or cannot be read
    };

    ScanNode* parent = nullptr;
    std::wstring name; // a selected folder's full path, else the entry name
    std::vector<std::unique_ptr<ScanNode>> children;
    int level = kEmpty;

    // Sets the level here and on every ancestor below it.
    void Raise(int newLevel) noexcept;
    std::wstring FullPath() const;
};

// Finds the folders under the selected ones that hold no file anywhere below them.
class EmptyFolderScan
{
  public:
    explicit EmptyFolderScan(MAbortBase& progress) noexcept : m_progress(progress) {}

    // Scans each folder in turn; false when the user cancelled. Found() is then sorted ordinally.
    bool Run(const std::vector<std::wstring>& selectedFolders);
    const std::vector<std::wstring>& Found() const noexcept { return m_found; }

  private:
    bool ScanFolder(ScanNode& node, const std::wstring& path);
    void Collect(const ScanNode& node);

    MAbortBase& m_progress;
    std::vector<std::wstring> m_found;
};
