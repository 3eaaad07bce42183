#include "tests/shellext/MultiRenameTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/LongPath.h"
#include "winsupport/StringUtil.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace rename_ids;

namespace
{
using Names = std::vector<std::wstring>;

// What a folder holds, by path relative to the test's folder, with every name exactly as it is.
struct Snapshot
{
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> folders;
};

bool IsAtOrUnder(const std::wstring& path, const std::wstring& item)
{
    return path == item || (path.size() > item.size() && path.starts_with(item) && path[item.size()] == L'\\');
}

std::wstring ParentOf(const std::wstring& relative)
{
    const size_t slash = relative.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : relative.substr(0, slash);
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::multiset<std::string> Contents(const Snapshot& snapshot)
{
    std::multiset<std::string> contents;
    for (const auto& [path, bytes] : snapshot.files)
        contents.insert(bytes);
    return contents;
}

enum class Command
{
    CopyNameAndDelete,
    Paste,
    PasteKeepingExtension,
    Extract,
    DeleteEmptyFolders,
    MultiRename,
    Count,
};

const char* CommandName(Command command)
{
    constexpr const char* kNames[] = {"copy name and delete", "paste",       "paste keeping the extension", "extract",
                                      "delete empty folders", "multi rename"};
    return kNames[static_cast<int>(command)];
}

class DataSafetyTest : public MultiRenameTest
{
  protected:
    Snapshot Read() const
    {
        Snapshot snapshot;
        for (auto& [path, bytes] : ReadTreeBelow(TempFolder()))
        {
            if (path.ends_with(L'\\'))
                snapshot.folders.insert(path.substr(0, path.size() - 1));
            else
                snapshot.files[path] = std::move(bytes);
        }
        return snapshot;
    }

    // A tree of names that plain paths misread: names ending in a period or a space beside their
    // twins without it, a literal look-alike of another file's short name, a device name, a tilde
    // that makes the handler look for short names.
    void MakeRandomTree(std::mt19937& random, int run)
    {
        const std::vector<Names> folderFamilies{
            {L"d", L"d.", L"d "}, {L"sub", L"sub."}, {L"x~y", L"x~y."}, {L"\u00c4", L"\u00c4 "}};
        const std::vector<Names> fileFamilies{{L"a", L"a.", L"a "},  {L"e", L"e."},
                                              {L"b.txt", L"b.txt."}, {L"quarterly report.txt", L"QUAR~I04.TXT"},
                                              {L"nul.txt"},          {L"\u00e4 \U0001F600.txt", L"c.txt"}};
        int fileNumber = 0;
        std::vector<std::wstring> folders{L""};
        for (size_t next = 0; next < folders.size() && next < 8; ++next)
        {
            const std::wstring folder = folders[next];
            const bool deepest = std::count(folder.begin(), folder.end(), L'\\') >= 1;
            const int families = static_cast<int>(random() % (folder.empty() ? 4 : 3));
            Names taken;
            for (int i = 0; i < families; ++i)
            {
                const bool isFolder = !deepest && random() % 3 == 0;
                const Names& family = isFolder ? folderFamilies[random() % folderFamilies.size()]
                                               : fileFamilies[random() % fileFamilies.size()];
                for (const std::wstring& name : family)
                {
                    const bool clash = std::any_of(taken.begin(), taken.end(), [&name](const std::wstring& other) {
                        return SameIgnoringCase(name, other);
                    });
                    if (clash || (family.size() > 1 && random() % 3 == 0))
                        continue;
                    taken.push_back(name);
                    const std::wstring path = folder.empty() ? name : folder + L"\\" + name;
                    if (isFolder)
                    {
                        ASSERT_TRUE(CreateFolder(TempPath(path))) << WideToUtf8(path);
                        folders.push_back(path);
                    }
                    else
                    {
                        const std::string bytes =
                            "run " + std::to_string(run) + " file " + std::to_string(fileNumber++);
                        ASSERT_TRUE(WriteFileBytes(TempPath(path), bytes)) << WideToUtf8(path);
                    }
                }
            }
        }
    }

    // Names for the paste commands and Multi Rename: clashes in every spelling the file system
    // resolves, characters and names it cannot hold, and plain new names.
    std::wstring RandomNewName(std::mt19937& random, const Snapshot& snapshot)
    {
        Names existing(snapshot.folders.begin(), snapshot.folders.end());
        for (const auto& [path, bytes] : snapshot.files)
            existing.push_back(path);
        switch (random() % 10)
        {
        case 0:
        case 1:
            return L"fresh" + std::to_wstring(random() % 3) + L".txt";
        case 2:
            return L"c\td.txt";
        case 3:
            return random() % 2 ? L"NUL" : L"con.txt";
        case 4:
            return random() % 2 ? L"new." : L"new ";
        case 5: {
            if (existing.empty())
                return L"b.txt";
            std::wstring name = existing[random() % existing.size()];
            name = name.substr(name.rfind(L'\\') + 1);
            std::transform(name.begin(), name.end(), name.begin(), ::towupper);
            return name;
        }
        case 6: {
            // Another item's short name.
            if (existing.empty())
                return L"QUAR~I04.TXT";
            const std::wstring path = TempPath(existing[random() % existing.size()]);
            std::wstring shortPath(32768, L'\0');
            shortPath.resize(::GetShortPathNameW(ToLongPath(path).c_str(), shortPath.data(), 32768));
            return shortPath.substr(shortPath.rfind(L'\\') + 1);
        }
        default:
            return random() % 2 ? L"b.txt" : L"a";
        }
    }

    // Runs the command from the built DLL's menu for the selection, answering every window it
    // opens as a user who goes ahead would. False when the menu does not offer it.
    bool RunCommand(Command command, const Names& selection, std::mt19937& random, const Snapshot& snapshot)
    {
        Names paths;
        for (const std::wstring& item : selection)
            paths.push_back(TempPath(item));
        if (command == Command::MultiRename)
        {
            // Odd names, plain new ones, or a chain where each takes the next one's name.
            const int kind = static_cast<int>(random() % 3);
            std::wstring names;
            for (size_t i = 0; i < paths.size(); ++i)
            {
                const std::wstring next = i + 1 < selection.size() ? selection[i + 1] : L"end.txt";
                names += kind == 0   ? RandomNewName(random, snapshot)
                         : kind == 1 ? L"new" + std::to_wstring(i) + L".txt"
                                     : next.substr(next.rfind(L'\\') + 1);
                names += L"\r\n";
            }
            const bool allowExtension = random() % 2 == 0;
            return RunMultiRename(paths, [&](DialogHandle dlg) {
                if (::IsWindowEnabled(dlg.Item(kAllowExtension)) &&
                    IsButtonChecked(dlg.Hwnd(), kAllowExtension) != allowExtension)
                    ClickCheck(dlg.Hwnd(), kAllowExtension, allowExtension);
                NestedDialogs nested;
                for (int i = 0; i < 3; ++i)
                    nested.On(L"", [](DialogHandle box) { box.Click(IDOK); });
                SetClipboardText(names.c_str());
                dlg.Click(kPasteNames);
                dlg.Click(IDOK);
                dlg.Click(IDCANCEL); // still open after a refusal
            });
        }

        if (command == Command::Paste || command == Command::PasteKeepingExtension)
            SetClipboardText(RandomNewName(random, snapshot).c_str());
        const ComPtr<IContextMenu> handler = CreateHandler(paths);
        if (!handler)
            return false;
        // Every window the command opens is answered as a user who goes ahead would: Delete in the
        // list of empty folders, OK in the clash list and in message boxes, Yes in the shell's own.
        DialogDriver driver(std::chrono::seconds(30));
        driver.AnswerShellConfirmations();
        // The scan's progress window is left to run.
        for (int i = 0; i < 5; ++i)
            driver.OnDialog(L"", [](DialogHandle dlg) {
                if (dlg.Caption() != L"Scanning for empty folders")
                    dlg.Click(dlg.IsEnabled(IDOK) ? IDOK : IDCANCEL);
            });
        std::wstring text;
        DWORD keys = 0;
        switch (command)
        {
        case Command::CopyNameAndDelete:
            text = L"Copy Filename and Delete";
            break;
        case Command::Paste:
            text = L"Paste Filename";
            break;
        case Command::PasteKeepingExtension:
            text = L"Paste Filename (Not Ext.)";
            break;
        case Command::Extract:
            text = paths.size() == 1 ? L"Extract Folder" : L"Extract Folders";
            break;
        case Command::DeleteEmptyFolders:
            text = L"Delete Empty Folders";
            keys = random() % 2 ? CMIC_MASK_CONTROL_DOWN : 0;
            break;
        default:
            return false;
        }
        const bool invoked = InvokeByText(handler.Get(), text, keys);
        EXPECT_FALSE(driver.TimedOut()) << CommandName(command);
        return invoked;
    }
};
} // namespace

// Random trees and selections through every command that moves, renames or deletes: afterwards
// every file outside the selected items is where it was with all its bytes, nothing was lost or
// doubled on the way, and whatever moved stayed beside or inside what was selected.
TEST_F(DataSafetyTest, EveryCommandChangesOnlyTheSelectedItems)
{
    std::mt19937 random(20261209);
    std::map<Command, std::pair<int, int>> counts; // runs, runs that changed something
    for (int run = 0; run < 300; ++run)
    {
        ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
        MakeRandomTree(random, run);
        const Snapshot before = Read();
        Names items(before.folders.begin(), before.folders.end());
        for (const auto& [path, bytes] : before.files)
            items.push_back(path);
        if (items.empty())
            continue;

        const auto command = static_cast<Command>(random() % static_cast<int>(Command::Count));
        Names candidates;
        for (const std::wstring& item : items)
        {
            const bool isFolder = before.folders.contains(item);
            if ((command == Command::Extract || command == Command::DeleteEmptyFolders) ? isFolder
                : command == Command::MultiRename                                       ? !isFolder
                                                                                        : true)
                candidates.push_back(item);
        }
        if (candidates.empty())
            continue;
        // Mostly the items a plain path misreads, where a command could reach another.
        std::shuffle(candidates.begin(), candidates.end(), random);
        std::stable_partition(candidates.begin(), candidates.end(), [&random](const std::wstring& item) {
            return random() % 4 != 0 &&
                   (item.find(L".\\") != std::wstring::npos || item.find(L" \\") != std::wstring::npos ||
                    item.ends_with(L'.') || item.ends_with(L' '));
        });
        // Multi Rename wants two names at least.
        const size_t least = command == Command::MultiRename ? 2 : 1;
        const size_t most = command == Command::Extract || command == Command::DeleteEmptyFolders ? 3
                            : command == Command::MultiRename                                     ? 4
                                                                                                  : 1;
        if (candidates.size() < least)
            continue;
        const size_t count = least + random() % (std::min(most, candidates.size()) - least + 1);
        Names selection(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(count));
        // No item inside another selected one: a command takes the outermost anyway.
        std::erase_if(selection, [&selection](const std::wstring& item) {
            return std::any_of(selection.begin(), selection.end(), [&item](const std::wstring& other) {
                return other != item && IsAtOrUnder(item, other);
            });
        });

        std::string trace = "run " + std::to_string(run) + ", " + CommandName(command) + " on";
        for (const std::wstring& item : selection)
            trace += " \"" + WideToUtf8(item) + "\"";
        SCOPED_TRACE(trace);
        RunCommand(command, selection, random, before);
        const Snapshot after = Read();

        const auto selected = [&selection](const std::wstring& path) {
            return std::any_of(selection.begin(), selection.end(),
                               [&path](const std::wstring& item) { return IsAtOrUnder(path, item); });
        };
        // Whatever was not selected is untouched.
        for (const auto& [path, bytes] : before.files)
        {
            const auto now = after.files.find(path);
            if (!selected(path))
            {
                EXPECT_TRUE(now != after.files.end() && now->second == bytes) << "lost " << WideToUtf8(path);
            }
        }
        for (const std::wstring& folder : before.folders)
        {
            if (!selected(folder))
            {
                EXPECT_TRUE(after.folders.contains(folder)) << "lost the folder " << WideToUtf8(folder);
            }
        }

        // What is new lies where a selected item was: in its folder, under a name that no item
        // left alone holds.
        const auto whereSelectedWas = [&](const std::wstring& path) {
            return std::any_of(selection.begin(), selection.end(), [&](const std::wstring& item) {
                const std::wstring folder = ParentOf(item);
                if (!folder.empty() && !IsAtOrUnder(path, folder))
                    return false;
                const std::wstring below = folder.empty() ? path : path.substr(folder.size() + 1);
                const std::wstring head = (folder.empty() ? L"" : folder + L"\\") + below.substr(0, below.find(L'\\'));
                return selected(head) || (!before.files.contains(head) && !before.folders.contains(head));
            });
        };
        for (const auto& [path, bytes] : after.files)
        {
            if (!before.files.contains(path))
            {
                EXPECT_TRUE(whereSelectedWas(path)) << "appeared: " << WideToUtf8(path);
            }
        }

        // Nothing lost or doubled: deleting commands take exactly the selected items or nothing.
        const bool deletes = command == Command::CopyNameAndDelete;
        std::multiset<std::string> kept = Contents(before);
        if (deletes && after.files.size() < before.files.size())
            for (const auto& [path, bytes] : before.files)
                if (selected(path))
                    kept.erase(kept.find(bytes));
        EXPECT_EQ(Contents(after), kept);

        auto& [runs, changed] = counts[command];
        ++runs;
        changed += after.files != before.files || after.folders != before.folders ? 1 : 0;
    }
    // The dialog keeps its check box for the rest of the process: leave it as the other tests expect.
    ASSERT_TRUE(DeleteTree(TempFolder()) && CreateFolder(TempFolder()));
    ASSERT_TRUE(RunMultiRename(MakeNamedFiles({L"1.txt", L"2.txt"}), [](DialogHandle dlg) {
        if (IsButtonChecked(dlg.Hwnd(), kAllowExtension))
            ClickCheck(dlg.Hwnd(), kAllowExtension, false);
        dlg.Click(IDCANCEL);
    }));
    for (const auto& [command, numbers] : counts)
        std::printf("data safety: %s: %d runs, %d changed files\n", CommandName(command), numbers.first,
                    numbers.second);
}
