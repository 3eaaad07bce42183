#include "winui/ProgressPath.h"

#include <algorithm>
#include <utility>

void ProgressPath::Record(const std::wstring& path)
{
    m_last = path;
    if (m_pending.empty())
    {
        m_pending = path;
        return;
    }
    if (m_pending == path)
        return;
    const auto mismatch = std::mismatch(m_pending.begin(), m_pending.end(), path.begin(), path.end());
    m_pending.erase(mismatch.first, m_pending.end());
    m_pending += L"...";
}

std::wstring ProgressPath::Take()
{
    if (m_pending.empty())
        return m_last;
    return std::exchange(m_pending, std::wstring());
}
