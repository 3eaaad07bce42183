#include "command/PathList.h"

#include <algorithm>

PathList::PathList(std::initializer_list<std::wstring_view> paths)
{
    for (const std::wstring_view path : paths)
        Append(path);
}

PathList PathList::FromNulSeparated(std::wstring_view list, std::shared_ptr<const void> owner)
{
    PathList paths;
    size_t end = 0;
    while (end < list.size() && list[end] != L'\0')
    {
        paths.m_starts.push_back(end);
        end = std::min(list.find(L'\0', end), list.size()) + 1;
    }
    // The layout is already the block's: view it, or copy it whole.
    if (owner && end <= list.size())
    {
        paths.m_owner = std::move(owner);
        paths.m_view = list.substr(0, end);
        return paths;
    }
    paths.m_block.assign(list.data(), std::min(end, list.size()));
    if (paths.m_block.size() < end)
        paths.m_block.push_back(L'\0');
    return paths;
}

void PathList::Own()
{
    if (!m_owner)
        return;
    m_block.assign(m_view);
    m_owner.reset();
    m_view = {};
}

void PathList::Append(std::wstring_view path)
{
    Own();
    m_starts.push_back(m_block.size());
    m_block.append(path);
    m_block.push_back(L'\0');
}

std::wstring_view PathList::operator[](size_t index) const noexcept
{
    const size_t start = m_starts[index];
    const size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] - 1 : BlockSize() - 1;
    return std::wstring_view(Block() + start, end - start);
}

bool PathList::operator==(const PathList& other) const
{
    return m_starts == other.m_starts &&
           std::wstring_view(Block(), BlockSize()) == std::wstring_view(other.Block(), other.BlockSize());
}
