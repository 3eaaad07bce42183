#include "configure/MenuConfigFile.h"

#include "winsupport/SafeFile.h"

#include <optional>

namespace
{
// Our own files are well under a kilobyte; anything this large was not written by us.
constexpr unsigned long long kLargestOwnFile = 64 * 1024;
} // namespace

MenuConfig MenuConfigFile::Load()
{
    MenuConfig config;
    const bool readWhole = ReadMenuConfig(m_path, config);
    if (readWhole)
        NormaliseMenuConfig(config);
    else
        DefaultMenuConfig(config); // a malformed file shows the defaults; saving repairs it
    // Saving writes back exactly what is shown: the file needs a copy unless it is that already.
    m_keepOldFile = false;
    if (IsNonEmptyFile(m_path))
    {
        const std::optional<std::string> bytes = ReadSmallFile(m_path, kLargestOwnFile);
        m_keepOldFile = !readWhole || !bytes || *bytes != SerialiseMenuConfig(config);
    }
    return config;
}

bool MenuConfigFile::Save(const MenuConfig& config)
{
    m_keptCopy.clear();
    const std::optional<std::string> bytes = SerialiseMenuConfig(config);
    if (!bytes || !ReplaceFileSafely(m_path, *bytes, m_keepOldFile, &m_keptCopy))
        return false;
    m_keepOldFile = false;
    return true;
}
