#include "winsupport/XmlTree.h"

#include <boost/property_tree/detail/xml_parser_utils.hpp>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
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

// The document's characters as the property tree's reader classes them.
bool IsXmlSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// An element's name ends only at white space, '/', '>' or '?': quotes, '<', '=' and '!' belong to it.
bool IsNameChar(char c) noexcept
{
    return c != '\0' && !IsXmlSpace(c) && c != '/' && c != '>' && c != '?';
}

// An attribute's name ends at '<', '=' and '!' as well; quotes belong to it.
bool IsAttributeNameChar(char c) noexcept
{
    return IsNameChar(c) && c != '<' && c != '=' && c != '!';
}

// A digit of a numeric character reference. As in the property tree's reader, a decimal reference
// takes the letters a to f too ("&#1a;" is character 20).
int DigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void Malformed(const char* what)
{
    throw std::runtime_error(what);
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80)
        out += static_cast<char>(code);
    else if (code < 0x800)
    {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x110000)
    {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
        Malformed("invalid numeric character entity");
}

// Reads a document in one pass without recursion: the elements whose contents are being read are
// kept on a stack of our own, bounded by the depth limit, so a file nested a hundred thousand levels
// deep is refused at the limit instead of taking the thread's stack with it.
class XmlReader
{
  public:
    XmlReader(std::string_view bytes, size_t maxDepth) : m_xml(bytes.substr(0, bytes.find('\0'))), m_maxDepth(maxDepth)
    {
    }

    pt::ptree Read()
    {
        pt::ptree document;
        if (m_xml.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
        for (;;)
        {
            SkipSpace();
            if (m_pos == m_xml.size())
                return document;
            if (Peek() != '<')
                Malformed("expected <");
            ++m_pos;
            ReadMarkup(document);
            while (!m_open.empty())
                ReadContent(*m_open.back());
        }
    }

  private:
    // The character ahead of the position; past the end of the data a NUL, as the property tree's
    // reader sees its terminator.
    char Peek(size_t ahead = 0) const noexcept { return m_pos + ahead < m_xml.size() ? m_xml[m_pos + ahead] : '\0'; }

    bool LookingAt(std::string_view text) const noexcept { return m_xml.substr(m_pos).starts_with(text); }

    void SkipSpace() noexcept
    {
        while (IsXmlSpace(Peek()))
            ++m_pos;
    }

    // Moves past the next occurrence of end; what came before it, from the position on.
    std::string_view SkipPast(std::string_view end)
    {
        const size_t found = m_xml.find(end, m_pos);
        if (found == std::string_view::npos)
            Malformed("unexpected end of data");
        const std::string_view skipped = m_xml.substr(m_pos, found - m_pos);
        m_pos = found + end.size();
        return skipped;
    }

    std::string_view SkipName(bool (*isNameChar)(char) noexcept) noexcept
    {
        const size_t start = m_pos;
        while (isNameChar(Peek()))
            ++m_pos;
        return m_xml.substr(start, m_pos - start);
    }

    // Whatever follows a '<' that does not start a closing tag; the declaration, processing
    // instructions, DOCTYPE and other "<!" constructs leave nothing in the tree.
    void ReadMarkup(pt::ptree& parent)
    {
        if (Peek() == '?')
        {
            ++m_pos; // "<?>" does not end itself
            SkipPast("?>");
        }
        else if (LookingAt("!--"))
        {
            m_pos += 3;
            parent.push_back({kComment, pt::ptree(std::string(SkipPast("-->")))});
        }
        else if (LookingAt("![CDATA["))
        {
            m_pos += 8;
            parent.data() += SkipPast("]]>");
        }
        else if (LookingAt("!DOCTYPE") && IsXmlSpace(Peek(8)))
        {
            m_pos += 9;
            SkipDoctype();
        }
        else if (Peek() == '!')
        {
            ++m_pos;
            SkipPast(">");
        }
        else
            ReadElement(parent);
    }

    // Up to the '>' that is not inside brackets, which are counted but not otherwise understood.
    void SkipDoctype()
    {
        while (Peek() != '>')
        {
            const char c = Peek();
            if (c == '\0')
                Malformed("unexpected end of data");
            ++m_pos;
            for (size_t brackets = c == '[' ? 1 : 0; brackets > 0; ++m_pos)
            {
                if (Peek() == '[')
                    ++brackets;
                else if (Peek() == ']')
                    --brackets;
                else if (Peek() == '\0')
                    Malformed("unexpected end of data");
            }
        }
        ++m_pos;
    }

    void ReadElement(pt::ptree& parent)
    {
        const std::string_view name = SkipName(IsNameChar);
        if (name.empty())
            Malformed("expected element name");
        if (m_open.size() >= m_maxDepth)
            Malformed("elements nested too deeply");
        pt::ptree& element = parent.push_back({std::string(name), pt::ptree()})->second;
        SkipSpace();
        ReadAttributes(element);
        if (Peek() == '>')
        {
            ++m_pos;
            m_open.push_back(&element);
        }
        else if (Peek() == '/' && Peek(1) == '>')
            m_pos += 2;
        else
            Malformed("expected >");
    }

    void ReadAttributes(pt::ptree& element)
    {
        pt::ptree* attributes = nullptr;
        while (IsAttributeNameChar(Peek()))
        {
            const std::string_view name = SkipName(IsAttributeNameChar);
            SkipSpace();
            if (Peek() != '=')
                Malformed("expected =");
            ++m_pos;
            SkipSpace();
            const char quote = Peek();
            if (quote != '\'' && quote != '"')
                Malformed("expected ' or \"");
            ++m_pos;
            std::string value = ReadText(quote);
            if (Peek() != quote)
                Malformed("expected ' or \"");
            ++m_pos;
            if (!attributes)
                attributes = &element.push_back({kAttributes, pt::ptree()})->second;
            attributes->push_back({std::string(name), pt::ptree(std::move(value))});
            SkipSpace();
        }
    }

    // One piece of an element's contents: text, a closing tag, or markup.
    void ReadContent(pt::ptree& element)
    {
        const char c = Peek();
        if (c == '\0')
            Malformed("unexpected end of data");
        if (c != '<')
            element.data() += ReadText('<');
        else if (Peek(1) == '/')
        {
            m_pos += 2;
            SkipName(IsNameChar); // any name closes the element
            SkipSpace();
            if (Peek() != '>')
                Malformed("expected >");
            ++m_pos;
            m_open.pop_back();
        }
        else
        {
            ++m_pos;
            ReadMarkup(element);
        }
    }

    // Text up to stop or the end of the data, character references expanded.
    std::string ReadText(char stop)
    {
        std::string text;
        for (;;)
        {
            const char stops[] = {stop, '&'};
            const size_t plain = std::min(m_xml.find_first_of(std::string_view(stops, 2), m_pos), m_xml.size());
            text.append(m_xml.substr(m_pos, plain - m_pos));
            m_pos = plain;
            if (Peek() != '&')
                return text;
            if (!ReadCharacterReference(text))
            {
                text += '&'; // not a reference: kept as it stands
                ++m_pos;
            }
        }
    }

    // Appends the character of the reference at the position; false when there is none there.
    bool ReadCharacterReference(std::string& text)
    {
        constexpr std::pair<std::string_view, char> kNamed[] = {
            {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}, {"&gt;", '>'}, {"&lt;", '<'}};
        for (const auto& [reference, character] : kNamed)
        {
            if (LookingAt(reference))
            {
                text += character;
                m_pos += reference.size();
                return true;
            }
        }
        if (Peek(1) != '#')
            return false;
        const bool hexadecimal = Peek(2) == 'x';
        m_pos += hexadecimal ? 3 : 2;
        std::uint32_t code = 0; // wraps past 32 bits, as the reader's unsigned long does on Windows
        for (int digit; (digit = DigitValue(Peek())) >= 0; ++m_pos)
            code = code * (hexadecimal ? 16 : 10) + static_cast<std::uint32_t>(digit);
        AppendUtf8(text, code);
        if (Peek() != ';')
            Malformed("expected ;");
        ++m_pos;
        return true;
    }

    const std::string_view m_xml;
    const size_t m_maxDepth;
    size_t m_pos = 0;               // never past the end of m_xml
    std::vector<pt::ptree*> m_open; // the elements whose contents are being read, innermost last
};
} // namespace

pt::ptree ParseXmlTree(std::string_view bytes, size_t maxDepth)
{
    return XmlReader(bytes, maxDepth).Read();
}

std::string WriteXmlTree(const pt::ptree& tree)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    WriteElement(out, std::string(), tree, true);
    return out;
}
