#pragma once

#include "copynames/CFItem.h"

#include <array>
#include <string>

// The rows of the "Insert Attribute" page; each value is its row's position from the top.
enum class InsertAttribute : int
{
    kInsertName = 0,
    kInsertPath = 1,
    kInsertType = 2,
    kInsertSize = 3,
    kInsertDate = 4,
};
using enum InsertAttribute;
inline constexpr int kInsertAttributeCount = 5;
// Every row, from top to bottom.
inline constexpr std::array<InsertAttribute, kInsertAttributeCount> kInsertAttributes{
    kInsertName, kInsertPath, kInsertType, kInsertSize, kInsertDate};

// The option lists of the page; each holds the index of its selected entry.
enum InsertOptionList : int
{
    kNameOptions = 0,       // name and extension, name only, extension only
    kPathKindOptions = 1,   // full path, path to parent folder
    kSeparatorOptions = 2,  // \, \\, /
    kSizeUnitOptions = 3,   // bytes, KB, MB, GB, auto
    kDateTimeOptions = 4,   // last modified, last accessed, created
    kDateFormatOptions = 5, // short date & time, long date & time, short date, long date
    kInsertOptionListCount = 6,
};

using InsertOptionSelections = std::array<int, kInsertOptionListCount>;

// How many entries each option list has.
int InsertOptionCount(int list) noexcept;
// Whether the list belongs to the attribute's row.
bool InsertOptionListOf(InsertAttribute attribute, int list) noexcept;

// The item format text for the attribute with the options its row's lists have selected. A
// selection out of its list's range counts as the list's first entry.
std::wstring AttributeFragment(InsertAttribute attribute, const InsertOptionSelections& selections);
// The item format text for a shell property, by its name without "System.".
std::wstring PropertyFragment(const std::wstring& propertyName);
// What the fragment writes for the item, nothing read from the disk.
std::wstring FragmentExample(const std::wstring& fragment, const CFItem& item);
