#include "copydialog/InsertFragments.h"

#include "copynames/ClipboardText.h"
#include "copynames/ItemFormat.h"

namespace
{
constexpr int kOptionCounts[kInsertOptionListCount] = {3, 2, 3, 5, 3, 4};

int Selected(const InsertOptionSelections& selections, int list) noexcept
{
    const int index = selections[static_cast<size_t>(list)];
    return index >= 0 && index < kOptionCounts[list] ? index : 0;
}
} // namespace

int InsertOptionCount(int list) noexcept
{
    return list >= 0 && list < kInsertOptionListCount ? kOptionCounts[list] : 0;
}

bool InsertOptionListOf(InsertAttribute attribute, int list) noexcept
{
    switch (attribute)
    {
    case kInsertName:
        return list == kNameOptions;
    case kInsertPath:
        return list == kPathKindOptions || list == kSeparatorOptions;
    case kInsertSize:
        return list == kSizeUnitOptions;
    case kInsertDate:
        return list == kDateTimeOptions || list == kDateFormatOptions;
    default:
        return false;
    }
}

std::wstring AttributeFragment(InsertAttribute attribute, const InsertOptionSelections& selections)
{
    static const wchar_t* const kNames[] = {L"$name;", L"$namenoext;", L"$ext;"};
    static const wchar_t* const kPathKinds[] = {L"$path", L"$folder"};
    static const wchar_t* const kSeparators[] = {L"", L":doublebackslash", L":forwardslash"};
    static const wchar_t* const kSizeUnits[] = {L"", L":kb", L":mb", L":gb", L":auto"};
    static const wchar_t* const kDateTimes[] = {L"$moddate", L"$accdate", L"$credate"};
    static const wchar_t* const kDateFormats[] = {L"", L":longdatetime", L":shortdate", L":longdate"};

    switch (attribute)
    {
    case kInsertName:
        return kNames[Selected(selections, kNameOptions)];
    case kInsertPath:
        return std::wstring(kPathKinds[Selected(selections, kPathKindOptions)]) +
               kSeparators[Selected(selections, kSeparatorOptions)] + L";";
    case kInsertType:
        return L"$type;";
    case kInsertSize:
        return std::wstring(L"$size") + kSizeUnits[Selected(selections, kSizeUnitOptions)] + L";";
    case kInsertDate:
        return std::wstring(kDateTimes[Selected(selections, kDateTimeOptions)]) +
               kDateFormats[Selected(selections, kDateFormatOptions)] + L";";
    default:
        return {};
    }
}

std::wstring PropertyFragment(const std::wstring& propertyName)
{
    return L"$property:" + propertyName + L";";
}

std::wstring FragmentExample(const std::wstring& fragment, const CFItem& item)
{
    // The parts are written one by one so that no separator or line break of a whole list is
    // added. The attribute page's fragments always parse; any other has no example.
    ItemFormat format;
    if (!format.SetDefinition(fragment))
        return {};
    ClipboardText text;
    for (const auto& part : format.Parts())
        part->AppendTo(item, text);
    return std::wstring(text.Text());
}
