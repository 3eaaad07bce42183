#include "copydialog/InsertExamples.h"

std::vector<const CFItem*> PickInsertExamples(const std::vector<const CFItem*>& items)
{
    std::vector<const CFItem*> examples;
    if (items.empty())
        return examples;
    const size_t step = (items.size() - 1) / kMaxInsertExamples + 1;
    for (size_t index = 0; index < items.size(); index += step)
        examples.push_back(items[index]);
    return examples;
}

std::wstring ExampleEntryText(std::wstring_view path)
{
    const size_t last = path.rfind(L'\\');
    if (last == std::wstring_view::npos || last == 0)
        return std::wstring(path);
    std::wstring entry(path.substr(last + 1));
    entry += L"\u2003\u2014\u2003";
    entry += path.substr(0, last);
    return entry;
}
