#include "winsupport/XmlTree.h"

#include "tests/support/XmlSamples.h"

#include <boost/property_tree/xml_parser.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>

// The product reads and writes its XML files with code of its own; the files must stay exactly what
// the property tree's own stream reader and writer make of them, so each case is checked against
// those.
namespace pt = boost::property_tree;

namespace
{
constexpr size_t kAnyDepth = 64;

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

// The tree a reader makes, or nothing when it refuses the document.
template <class Reader> std::optional<pt::ptree> TreeOrNothing(Reader read)
{
    try
    {
        return read();
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}

// How deep the elements of a tree nest, counted apart from the reader under test.
size_t ElementDepth(const pt::ptree& tree)
{
    size_t deepest = 0;
    for (const auto& [name, child] : tree)
    {
        if (name != "<xmlattr>" && name != "<xmlcomment>")
            deepest = std::max(deepest, 1 + ElementDepth(child));
    }
    return deepest;
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
        const pt::ptree ours = ParseXmlTree(bytes, kAnyDepth);
        EXPECT_EQ(ours, ReadWithStreams(bytes)) << bytes;
        EXPECT_EQ(WriteXmlTree(ours), WriteWithStreams(ours)) << bytes;
    }
    const std::string withNul("<A>x</A>\0<B/>", 13);
    EXPECT_EQ(ParseXmlTree(withNul, kAnyDepth), ReadWithStreams(withNul));
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
    EXPECT_EQ(ParseXmlTree(WriteXmlTree(tree), kAnyDepth), ReadWithStreams(WriteWithStreams(tree)));
}

// A few edge cases, then thousands of documents from a grammar of everything the reader knows, half
// of them mutated: both readers make the same tree, or both refuse the document; ours refuses too
// when the elements nest deeper than its limit.
TEST(XmlTreeTest, ReadsRandomDocumentsAsTheStreamReader)
{
    constexpr const char* kEdges[] = {"", "<A>", "<A></B>", "text only", "<A x=1/>", "<?xml version=\"1.0\"?>"};
    std::mt19937 random(20261209);
    int trees = 0;
    int refusals = 0;
    int tooDeep = 0;
    for (size_t round = 0; round < 10000; ++round)
    {
        const std::string document =
            round < std::size(kEdges) ? std::string(kEdges[round]) : RandomXmlDocument(random, 6);
        const size_t maxDepth = round % 4 == 0 ? kAnyDepth : 1 + round % 4;
        std::optional<pt::ptree> expected = TreeOrNothing([&document] { return ReadWithStreams(document); });
        if (expected && ElementDepth(*expected) > maxDepth)
        {
            expected.reset();
            ++tooDeep;
        }
        const std::optional<pt::ptree> ours =
            TreeOrNothing([&document, maxDepth] { return ParseXmlTree(document, maxDepth); });
        ASSERT_EQ(ours.has_value(), expected.has_value()) << testing::PrintToString(document);
        if (ours)
        {
            ASSERT_EQ(*ours, *expected) << testing::PrintToString(document);
            ++trees;
        }
        else
            ++refusals;
    }
    // Each outcome must be common, or the comparison proves little.
    EXPECT_GT(trees, 3000);
    EXPECT_GT(refusals, 3000);
    EXPECT_GT(tooDeep, 300);
}

// The depth limit counts elements as they nest, the document element at depth 1, whatever hides
// tags from a reader that only looks for angle brackets.
TEST(XmlTreeTest, RefusesElementsNestedBeyondTheLimit)
{
    struct Case
    {
        const char* what;
        std::string xml;
        size_t depth;
    };
    const std::string four = "<a><b><c><d></d></c></b></a>";
    const Case cases[] = {
        {"three", "<a><b><c/></b></a>", 3},
        {"four", four, 4},
        {"an empty element counts", "<a><b><c><d/></c></b></a>", 4},
        {"siblings do not add", "<a><b></b><b></b><b><c></c></b></a>", 3},
        {"closing tags close", "<a></a><a></a><a></a><a></a>", 1},
        {"attributes may hold > and quotes", "<a x='>' y=\"'>\"><b/></a>", 2},
        {"a quote in a name", "<a\"><b\"><c/></b\"></a\">", 3},
        {"an apostrophe in a name", "<a'><b><c><d'/></c></b></a'>", 4},
        {"an attribute name with a quote", "<a b\"='1'><c/></a>", 2},
        {"comments hide tags", "<a><!--" + four + "--></a>", 1},
        {"comments hide closing tags too", "<a><b><!-- </b></a> --><c><d></d></c></b></a>", 4},
        {"CDATA hides tags", "<a><![CDATA[" + four + "]]></a>", 1},
        {"processing instructions hide tags", "<?x " + four + "?><a/>", 1},
        {"other <! constructs end at the first >", "<!X [ >" + four, 4},
        {"a DOCTYPE subset hides tags", "<!DOCTYPE a [ <!ENTITY e \"" + four + "\"> ]><a/>", 1},
        {"a NUL ends the data", std::string("<a><b/></a>\0", 12) + four, 2},
    };
    for (const Case& c : cases)
    {
        EXPECT_NO_THROW(ParseXmlTree(c.xml, c.depth)) << c.what;
        EXPECT_THROW(ParseXmlTree(c.xml, c.depth - 1), std::exception) << c.what;
    }
}
