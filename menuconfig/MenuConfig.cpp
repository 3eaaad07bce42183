#include "menuconfig/MenuConfig.h"

#include "winsupport/SafeFile.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <exception>
#include <new>
#include <set>
#include <sstream>

namespace pt = boost::property_tree;

namespace
{
// Appends the entries of one list element. Children of any name count; comments and the like
// have no Type and are skipped with every other entry whose type is not one of the nine names.
void ReadEntries(const pt::ptree& list, std::vector<MenuEntry>& entries)
{
    for (const auto& [name, child] : list)
    {
        const auto type = child.get_child_optional("Type");
        if (!type)
            continue;
        const auto commandType = CommandTypeFromName(type->data());
        if (!commandType)
            continue;
        bool show = true;
        if (const auto showNode = child.get_child_optional("Show"))
            show = showNode->get_value_optional<bool>().value_or(true);
        entries.push_back({*commandType, show});
    }
}

void AppendEntries(pt::ptree& list, const std::vector<MenuEntry>& entries)
{
    for (const MenuEntry& entry : entries)
    {
        const std::string_view name = CommandTypeName(entry.type);
        if (name.empty())
            continue;
        pt::ptree& command = list.add_child("Command", pt::ptree());
        command.add("Type", std::string(name));
        command.add("Show", entry.show ? "true" : "false");
    }
}
} // namespace

std::wstring MenuConfigPath()
{
    return ProductUserFilePath(L"MenuCommands.xml");
}

bool ParseMenuConfig(std::string_view bytes, MenuConfig& config)
{
    try
    {
        if (IsXmlNestedDeeperThan(bytes, kMaxMenuConfigNesting))
            return false;
        std::istringstream stream{std::string(bytes)};
        pt::ptree tree;
        pt::read_xml(stream, tree); // no flags: comments kept, text not trimmed

        const auto mainMenu = tree.get_child_optional("BrelvantaConfig.MainMenu");
        if (!mainMenu)
            return false;
        ReadEntries(*mainMenu, config.mainMenu);
        const auto subMenu = tree.get_child_optional("BrelvantaConfig.SubMenu");
        if (!subMenu)
            return false;
        ReadEntries(*subMenu, config.subMenu);
        return true;
    }
    catch (const std::exception&)
    {
        return false; // parse errors and out-of-memory alike: what was appended stays
    }
}

bool ReadMenuConfig(const std::wstring& path, MenuConfig& config)
{
    config = {};
    std::string bytes;
    try
    {
        bytes = ReadSmallFile(path, kMaxMenuConfigFileSize).value_or(std::string());
    }
    catch (const std::bad_alloc&)
    {
        bytes.clear(); // counts as unreadable
    }
    if (bytes.empty())
    {
        DefaultMenuConfig(config);
        return false;
    }
    return ParseMenuConfig(bytes, config);
}

void NormaliseMenuConfig(MenuConfig& config)
{
    std::set<CommandType> seen;
    const auto removeRepeats = [&seen](std::vector<MenuEntry>& entries) {
        std::erase_if(entries, [&seen](const MenuEntry& entry) { return !seen.insert(entry.type).second; });
    };
    removeRepeats(config.mainMenu);
    removeRepeats(config.subMenu);
    for (const CommandType type : kAllCommandTypes)
    {
        if (!seen.contains(type))
            config.subMenu.push_back({type, false});
    }
}

void DefaultMenuConfig(MenuConfig& config)
{
    config.mainMenu.clear();
    config.subMenu.clear();
    for (const CommandType type : kAllCommandTypes)
        config.subMenu.push_back({type, true});
}

std::optional<std::string> SerialiseMenuConfig(const MenuConfig& config)
{
    try
    {
        pt::ptree tree;
        pt::ptree& root = tree.add_child("BrelvantaConfig", pt::ptree());
        AppendEntries(root.add_child("MainMenu", pt::ptree()), config.mainMenu);
        AppendEntries(root.add_child("SubMenu", pt::ptree()), config.subMenu);
        std::ostringstream stream;
        pt::write_xml(stream, tree, pt::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
        return std::move(stream).str();
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}

bool WriteMenuConfig(const std::wstring& path, const MenuConfig& config)
{
    const std::optional<std::string> bytes = SerialiseMenuConfig(config);
    return bytes && ReplaceFileSafely(path, *bytes, false);
}

MenuConfig LoadMenuConfig(const std::wstring& path, OnMalformedMenuConfig onMalformed)
{
    MenuConfig config;
    if (ReadMenuConfig(path, config))
        NormaliseMenuConfig(config);
    else if (onMalformed == OnMalformedMenuConfig::UseDefaults)
        DefaultMenuConfig(config);
    return config;
}
