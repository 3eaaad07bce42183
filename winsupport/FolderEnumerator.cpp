#include "winsupport/FolderEnumerator.h"

#include "winsupport/LongPath.h"

FolderEnumerator::FolderEnumerator(const std::wstring& folder, ShortNames shortNames)
{
    std::wstring pattern = ToLongPath(folder);
    if (pattern.empty() || pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    m_find.Reset(::FindFirstFileExW(pattern.c_str(),
                                    shortNames == ShortNames::Read ? FindExInfoStandard : FindExInfoBasic, &m_data,
                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    m_opened = m_find.IsValid();
    m_pending = m_opened;
    if (!m_opened)
        m_endError = ::GetLastError();
}

bool FolderEnumerator::Next()
{
    for (;;)
    {
        if (!m_pending)
        {
            if (!m_find)
                return false;
            if (!::FindNextFileW(m_find.Get(), &m_data))
            {
                m_endError = ::GetLastError();
                m_find.Reset();
                return false;
            }
        }
        m_pending = false;
        const std::wstring_view name = m_data.cFileName;
        if (name != L"." && name != L"..")
            return true;
    }
}
