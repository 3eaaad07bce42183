#include "shellext/PathList.h"

#include <algorithm>

PathList::PathList(std::initializer_list<std::wstring_view> paths)
{
    for (const std::wstring_view path : paths)
        Append(path);
}

PathList PathList::FromNulSeparated(std::wstring_view list)
{
    PathList paths;
    size_t end = 0;
    size_t count = 0;
    while (end < list.size() && list[end] != L'\0')
    {
        end = std::min(list.find(L'\0', end), list.size()) + 1;
        ++count;
    }
    // One copy of the whole list, whose layout is already the block's.
    paths.m_block.assign(list.data(), std::min(end, list.size()));
    if (paths.m_block.size() < end)
        paths.m_block.push_back(L'\0');
    paths.m_starts.reserve(count);
    for (size_t start = 0; start < paths.m_block.size(); start = paths.m_block.find(L'\0', start) + 1)
        paths.m_starts.push_back(start);
    return paths;
}

void PathList::Append(std::wstring_view path)
{
    m_starts.push_back(m_block.size());
    m_block.append(path);
    m_block.push_back(L'\0');
}

std::wstring_view PathList::operator[](size_t index) const noexcept
{
    const size_t start = m_starts[index];
    const size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] - 1 : m_block.size() - 1;
    return std::wstring_view(m_block).substr(start, end - start);
}
