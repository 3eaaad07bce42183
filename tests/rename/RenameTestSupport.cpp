#include "tests/rename/RenameTestSupport.h"

#include "rename/RenameCheck.h"
#include "tests/support/FileHelpers.h"
#include "winsupport/StringUtil.h"

#include <gtest/gtest.h>

PatternAnalysis Analyze(const std::vector<std::wstring>& names, bool detectNumbers, bool allowExtension)
{
    const DerivedPattern derived = DerivePattern(names, detectNumbers);
    return BuildSegments(derived.pattern, derived.commonExtension, allowExtension);
}

RenameItem ItemNamed(const std::wstring& name)
{
    RenameItem item;
    item.name = name;
    item.key = ToUpperCase(name);
    item.notInList = false;
    item.included = true;
    return item;
}

std::wstring Compose(const PatternAnalysis& analysis, const std::wstring& name)
{
    RenameItem item = ItemNamed(name);
    ComposeNewName(item, analysis);
    return item.newName;
}

RenameModel ModelOfFiles(const std::wstring& folder, const std::vector<std::wstring>& files,
                         const std::vector<std::wstring>& selected)
{
    for (const std::wstring& file : files)
        EXPECT_TRUE(WriteFileBytes(folder + L"\\" + file, WideToUtf8(file)));
    std::vector<std::wstring> paths;
    for (const std::wstring& name : selected)
        paths.push_back(folder + L"\\" + name);
    return BuildRenameModel(paths);
}

PatternAnalysis OpenModel(RenameModel& model, bool detectNumbers, bool allowExtension)
{
    std::vector<std::wstring> names;
    for (const RenameItem* item : model.ListedItems())
        names.push_back(item->name);
    PatternAnalysis analysis = Analyze(names, detectNumbers, allowExtension);
    MatchListedItems(model, analysis);
    ComputeNumberBases(model, analysis);
    model.NumberRows();
    RecomputeNames(model, analysis);
    return analysis;
}

std::map<std::wstring, std::string> FolderContents(const std::wstring& folder)
{
    std::map<std::wstring, std::string> contents;
    for (const auto& [path, bytes] : ReadTreeBelow(folder))
        contents[ToUpperCase(path)] = bytes;
    return contents;
}

std::wstring ShortName(const std::wstring& path)
{
    std::wstring shortPath(::GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    shortPath.resize(::GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size())));
    return shortPath.substr(shortPath.rfind(L'\\') + 1);
}
