#include "winsupport/XmlTree.h"

#include <boost/property_tree/xml_parser.hpp>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

// The product reads and writes its XML files without streams; the files must stay exactly what the
// property tree's own stream reader and writer make of them, so each case is checked against those.
namespace pt = boost::property_tree;

namespace
{
std::string WriteWithStreams(const pt::ptree& tree)
{
    std::ostringstream stream;
    pt::write_xml(stream, tree, pt::xml_writer_make_settings<std::string>(' ', 0, "utf-8"));
    return stream.str();
}

pt::ptree ReadWithStreams(const std::string& bytes)
{
    std::istringstream stream(bytes);
    pt::ptree tree;
    pt::read_xml(stream, tree);
    return tree;
}

const char* const kDocuments[] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Presets/>",
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Presets><Preset><Name>A &amp; B</Name><Item>&quot;$path&quot;"
    "</Item><Separator>&#32;</Separator></Preset></Presets>",
    "<Presets>\r\n  <!-- kept aside -->\r\n  <Preset><Name> two  spaces </Name><Item/><Separator>   </Separator>"
    "</Preset>\r\n</Presets>\r\n",
    "\xEF\xBB\xBF<Presets><Other><Name>\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80</Name></Other></Presets>",
    "<Root a=\"1 &lt; 2\" b='x'><Empty a=\"only\"/><T>text<!--c-->more<![CDATA[<raw>]]></T></Root>",
    "<BrelvantaConfig><MainMenu/><SubMenu><Command><Type>CopyPath</Type><Show> true </Show></Command>"
    "</SubMenu></BrelvantaConfig>",
    "<A>&lt;&gt;&apos;&#65;&#x42;</A>",
    "<A>x</A>\0<B>after the end</B>",
};
} // namespace

TEST(XmlTreeTest, ReadsAndWritesExactlyAsTheStreamFunctions)
{
    for (const char* document : kDocuments)
    {
        const std::string bytes(document);
        const pt::ptree ours = ParseXmlTree(bytes);
        EXPECT_EQ(ours, ReadWithStreams(bytes)) << bytes;
        EXPECT_EQ(WriteXmlTree(ours), WriteWithStreams(ours)) << bytes;
    }
    const std::string withNul("<A>x</A>\0<B/>", 13);
    EXPECT_EQ(ParseXmlTree(withNul), ReadWithStreams(withNul));
}

TEST(XmlTreeTest, WritesBuiltTreesAsTheStreamWriter)
{
    pt::ptree tree;
    pt::ptree& root = tree.add_child("Presets", pt::ptree());
    for (const char* text : {"", " ", "   ", " a ", "<&>\"'", "tab\there", "line\nbreak", "&#32;"})
    {
        pt::ptree& preset = root.add_child("Preset", pt::ptree());
        preset.add("Name", std::string(text));
        preset.add("Item", std::string("$name"));
        preset.add("Separator", std::string());
    }
    root.add_child("<xmlcomment>", pt::ptree(" a comment "));
    root.add_child("<xmlattr>.version", pt::ptree("2"));
    EXPECT_EQ(WriteXmlTree(tree), WriteWithStreams(tree));
    EXPECT_EQ(WriteXmlTree(pt::ptree()), WriteWithStreams(pt::ptree()));
    EXPECT_EQ(ParseXmlTree(WriteXmlTree(tree)), ReadWithStreams(WriteWithStreams(tree)));
}

TEST(XmlTreeTest, MalformedDocumentsThrowLikeTheStreamReader)
{
    for (const char* document : {"", "<A>", "<A></B>", "text only", "<A x=1/>", "<?xml version=\"1.0\"?>"})
    {
        const std::string bytes(document);
        bool streamsThrew = false;
        try
        {
            ReadWithStreams(bytes);
        }
        catch (const std::exception&)
        {
            streamsThrew = true;
        }
        bool oursThrew = false;
        try
        {
            ParseXmlTree(bytes);
        }
        catch (const std::exception&)
        {
            oursThrew = true;
        }
        EXPECT_EQ(oursThrew, streamsThrew) << bytes;
    }
}
