#include "winsupport/XmlTree.h"

#include <boost/property_tree/detail/rapidxml.hpp>
#include <boost/property_tree/detail/xml_parser_read_rapidxml.hpp>
#include <boost/property_tree/detail/xml_parser_utils.hpp>

#include <vector>

namespace pt = boost::property_tree;

namespace
{
const std::string kAttributes = pt::xml_parser::xmlattr<std::string>();
const std::string kComment = pt::xml_parser::xmlcomment<std::string>();
const std::string kText = pt::xml_parser::xmltext<std::string>();

void WriteText(std::string& out, const std::string& text)
{
    out += pt::xml_parser::encode_char_entities(text);
}

// One element and everything below it, as the writer does without indentation. The unnamed root
// (top) writes only its children.
void WriteElement(std::string& out, const std::string& key, const pt::ptree& node, bool top)
{
    bool attributesOnly = node.data().empty();
    for (const auto& [name, child] : node)
    {
        if (name != kAttributes)
        {
            attributesOnly = false;
            break;
        }
    }

    if (node.data().empty() && node.empty())
    {
        if (!top)
            out += '<' + key + "/>";
        return;
    }

    if (!top)
    {
        out += '<' + key;
        if (const auto attributes = node.get_child_optional(kAttributes))
        {
            for (const auto& [name, value] : *attributes)
            {
                out += ' ' + name + "=\"";
                WriteText(out, value.data());
                out += '"';
            }
        }
        out += attributesOnly ? "/>" : ">";
    }

    WriteText(out, node.data());
    for (const auto& [name, child] : node)
    {
        if (name == kAttributes)
            continue;
        if (name == kComment)
            out += "<!--" + child.data() + "-->";
        else if (name == kText)
            WriteText(out, child.data());
        else
            WriteElement(out, name, child, false);
    }

    if (!top && !attributesOnly)
        out += "</" + key + '>';
}
} // namespace

pt::ptree ParseXmlTree(std::string_view bytes)
{
    namespace rapidxml = pt::detail::rapidxml;
    std::vector<char> text(bytes.begin(), bytes.end());
    text.push_back('\0');

    rapidxml::xml_document<char> document;
    document.parse<rapidxml::parse_comment_nodes>(text.data());
    pt::ptree tree;
    for (rapidxml::xml_node<char>* child = document.first_node(); child; child = child->next_sibling())
        pt::xml_parser::read_xml_node(child, tree, 0);
    return tree;
}

std::string WriteXmlTree(const pt::ptree& tree)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    WriteElement(out, std::string(), tree, true);
    return out;
}
