#include "shellext/PathList.h"

PathList::PathList(std::initializer_list<std::wstring_view> paths)
{
    for (const std::wstring_view path : paths)
        Append(path);
}

void PathList::Append(std::wstring_view path)
{
    m_starts.push_back(m_block.size());
    m_block.append(path);
    m_block.push_back(L'\0');
}

void PathList::Reserve(size_t paths, size_t characters)
{
    m_starts.reserve(paths);
    m_block.reserve(characters);
}

std::wstring_view PathList::operator[](size_t index) const noexcept
{
    const size_t start = m_starts[index];
    const size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] - 1 : m_block.size() - 1;
    return std::wstring_view(m_block).substr(start, end - start);
}
