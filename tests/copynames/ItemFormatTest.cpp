#include "copynames/ItemFormat.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/TempFolderTest.h"
#include "copynames/PropertyRuntime.h"
#include "winsupport/Resources.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
const std::wstring kUnexpectedBracket = L"Unexpected ']' (use '\\]' to insert a ']').";
const std::wstring kInvalidDollar = L"Invalid '$', must be followed by attribute name, or use '\\$' to insert a '$'.";
const std::wstring kNoVariables = L"Invalid definition - no item variables.";

std::wstring NoSuchAttribute(const std::wstring& name)
{
    return L"No such attribute \"$" + name + L"\"";
}

std::wstring InvalidTag(const std::wstring& parameter, const std::wstring& name)
{
    return L"Invalid parameter tag '" + parameter + L"' for attribute $" + name + L".";
}

std::wstring Replaced(std::wstring text, wchar_t from, const std::wstring& to)
{
    std::wstring result;
    for (const wchar_t c : text)
        result += c == from ? to : std::wstring(1, c);
    return result;
}

// Formats files of the test's folder, the way the copy commands do.
class ItemFormatFileTest : public TempFolderTest
{
  protected:
    std::wstring Formatted(const std::wstring& definition, const std::wstring& separator,
                           const std::vector<std::wstring>& names)
    {
        m_paths.clear();
        for (const std::wstring& name : names)
        {
            m_paths.push_back(TempPath(name));
            EXPECT_TRUE(WriteFileBytes(m_paths.back(), "x"));
        }
        ItemList list;
        for (const std::wstring& path : m_paths)
            list.AddPath(path);
        list.Flatten();
        ItemFormat format;
        EXPECT_TRUE(format.SetDefinition(definition)) << definition << L": " << format.Error();
        format.SetSeparator(separator);
        ClipboardText text;
        format.Format(list, text);
        return std::wstring(text.Text());
    }

  private:
    std::vector<std::wstring> m_paths; // the list keeps views of them
};
// Stand-ins for the property system's entry points, which Wine lacks.
HRESULT STDAPICALLTYPE NoItem(PCWSTR, IBindCtx*, REFIID, void** ppv)
{
    *ppv = nullptr;
    return E_NOTIMPL;
}
std::vector<std::wstring> g_storesAskedFor;
HRESULT STDAPICALLTYPE NoStore(PCWSTR path, IBindCtx*, GETPROPERTYSTOREFLAGS, REFIID, void** ppv)
{
    g_storesAskedFor.push_back(path);
    *ppv = nullptr;
    return E_NOTIMPL;
}
HRESULT STDAPICALLTYPE KnowsOnlySize(LPCWSTR name, REFIID, void** ppv)
{
    *ppv = nullptr;
    return std::wstring_view(name) == L"System.Size" ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}
HRESULT STDAPICALLTYPE NoValue(IPropertyStore*, IPropertyDescription*, PROPVARIANT*)
{
    return E_NOTIMPL;
}

// Makes the stand-ins the process-wide property runtime until the next drop.
void UseStandInPropertyRuntime()
{
    PropertyRunTimeDLLs::EntryPoints entries;
    entries.createItemFromParsingName = NoItem;
    entries.getPropertyStoreFromParsingName = NoStore;
    entries.getPropertyDescriptionByName = KnowsOnlySize;
    entries.getPropertyValue = NoValue;
    SetPropertyRuntimeForTesting(std::make_shared<PropertyRunTimeDLLs>(entries));
}
} // namespace

TEST(ItemFormatTest, ErrorsCarryTheirExactMessages)
{
    struct Case
    {
        std::wstring definition;
        std::wstring error; // empty: valid
    };
    const Case cases[] = {
        {L"$name", L""},
        {L"$name.txt", L""},
        {L"$path:forwardslash.txt", InvalidTag(L"forwardslash.txt", L"path")},
        {L"$path:forwardslash;.txt", L""},
        {L"Size: $size:auto", L""},
        {L"Size", kNoVariables},
        {L"", kNoVariables},
        {L"$", kInvalidDollar},
        {L"$ x", kInvalidDollar},
        {L"$:x", kInvalidDollar},
        {L"$Name", NoSuchAttribute(L"Name")},
        {L"$name:FORWARDSLASH", L""},
        {L"$path:forwardslash,urlencode", L""},
        {L"$path:,,urlencodenames,,", L""},
        {L"$path:slash", InvalidTag(L"slash", L"path")},
        {L"$path:forwardslash,x", InvalidTag(L"forwardslash,x", L"path")},
        {L"a]b$name", kUnexpectedBracket},
        {L"a\\]b$name", L""},
        {L"$name[anything ]", L""},
        {L"$name\n]second line", L""},
        {L"[$name", kNoVariables},
        {L"\\$name", kNoVariables},
        {L"$moddate:longdate $credate:SHORTDATETIME $accdate", L""},
        {L"$moddate:date", InvalidTag(L"date", L"moddate")},
        {L"$size:kb$size:MB$size:gb$size:b$size:", L""},
        {L"$size:tb", InvalidTag(L"tb", L"size")},
        {L"$type:anything.at,all", L""},
        // Each error replaces the one before: only the last is kept.
        {L"$nope $name $", kInvalidDollar},
        {L"$ $nope", NoSuchAttribute(L"nope")},
        {L"$name]$", kUnexpectedBracket},
    };
    for (const Case& c : cases)
    {
        ItemFormat format;
        EXPECT_EQ(format.SetDefinition(c.definition), c.error.empty()) << c.definition;
        EXPECT_EQ(format.Error(), c.error) << c.definition;
    }
}

TEST_F(ItemFormatFileTest, LiteralsResolveTheirEscapes)
{
    const std::wstring folder = TempFolder() + L"\\";
    const std::wstring path = folder + L"a.txt";
    struct Case
    {
        std::wstring definition;
        std::wstring text;
    };
    const Case cases[] = {
        {L"a\\]b$name", L"a]ba.txt"},
        {L"\\$\\[\\]\\\\\\|$name", L"$[]\\|a.txt"},
        {L"\\n\\r\\t$name", L"\r\n\r\ta.txt"},
        {L"\\q\\1$name", L"\\q\\1a.txt"},
        {L"$name\\", L"a.txt\\"},
        {L"$name;x$name", L"a.txtxa.txt"},
        {L"$namenoext;.bak", L"a.bak"},
        {L"$path:forwardslash;.bak", Replaced(path, L'\\', L"/") + L".bak"},
        {L"$path:forwardslash,backslash", path},
        {L"$path:doublebackslash", Replaced(path, L'\\', L"\\\\")},
        {L"<$folder|$ext>", L"<" + folder + L"|txt>"},
        {L"$name[ignored $path", L"a.txt"},
        {L"$name\nsecond line $path", L"a.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Formatted(c.definition, L"", {L"a.txt"}), c.text) << c.definition;
}

TEST_F(ItemFormatFileTest, FormatsEveryItemWithSeparatorsAndLineBreaks)
{
    ItemList list; // Format walks the list's output; a list of vanished paths is empty
    ItemFormat format;
    ASSERT_TRUE(format.SetDefinition(L"$name"));
    format.SetSeparator(L"\\n");
    ClipboardText text;
    text.Append(L"old");
    format.Format(list, text);
    EXPECT_EQ(text.Text(), L"");

    const std::vector<std::wstring> items{L"name1", L"name2", L"name3"};
    EXPECT_EQ(Formatted(L"$name", L"\\n", items), L"name1\r\nname2\r\nname3");
    EXPECT_EQ(Formatted(L"$name", L"\\t", items), L"name1\tname2\tname3");
    EXPECT_EQ(Formatted(L"$name", L"x\\", items), L"name1xname2xname3");
    EXPECT_EQ(Formatted(L"$name", L"\\,\\\\", items), L"name1,\\name2,\\name3");
    EXPECT_EQ(Formatted(L"$name", L"\\r\\n", items), L"name1\r\r\nname2\r\r\nname3");

    // The plain copy: one name alone, or every name ending with a line break.
    ItemList one, three;
    const std::wstring first = TempPath(L"name1");
    one.AddPath(first);
    one.Flatten();
    const std::vector<std::wstring> paths{TempPath(L"name1"), TempPath(L"name2"), TempPath(L"name3")};
    for (const std::wstring& each : paths)
        three.AddPath(each);
    three.Flatten();
    ItemFormat simple;
    simple.MakeSimple(ItemPartPath::kName);
    simple.Format(one, text);
    EXPECT_EQ(text.Text(), L"name1");
    simple.Format(three, text);
    EXPECT_EQ(text.Text(), L"name1\r\nname2\r\nname3\r\n");
}

TEST(ItemFormatTest, RemembersWhatChanged)
{
    ItemFormat format;
    EXPECT_TRUE(format.SetDefinition(L"$name"));
    EXPECT_TRUE(format.changed);
    format.changed = false;
    EXPECT_TRUE(format.SetDefinition(L"$name"));
    EXPECT_FALSE(format.changed) << "the same definition is not parsed again";
    EXPECT_EQ(format.Parts().size(), 1u);
    EXPECT_FALSE(format.SetDefinition(L"$name $"));
    EXPECT_TRUE(format.changed);
    EXPECT_EQ(format.Parts().size(), 2u) << "what was read before the error stays";
    format.changed = false;
    EXPECT_FALSE(format.SetDefinition(L"$name $")) << "the same invalid definition stays invalid";
    EXPECT_FALSE(format.changed);
    format.SetSeparator(L"\\n");
    EXPECT_TRUE(format.changed);
    format.changed = false;
    format.SetSeparator(L"\\n");
    EXPECT_FALSE(format.changed);

    ItemFormat simple;
    simple.MakeSimple(ItemPartPath::kFullPath);
    EXPECT_EQ(simple.Separator(), L"\n");
    EXPECT_TRUE(simple.HasTrailingNewline());
    ASSERT_EQ(simple.Parts().size(), 1u);
    const auto* part = dynamic_cast<const ItemPartPath*>(simple.Parts()[0].get());
    ASSERT_TRUE(part);
    EXPECT_EQ(part->GetKind(), ItemPartPath::kFullPath);
}

TEST(ItemFormatTest, HugeAndRandomDefinitionsEndInAResult)
{
    // A megabyte of text, of references, and of escapes: parsed in one go.
    ItemFormat format;
    EXPECT_FALSE(format.SetDefinition(std::wstring(1 << 20, L'a')));
    EXPECT_EQ(format.Error(), kNoVariables);
    std::wstring references;
    while (references.size() < (1u << 20))
        references += L"$name;";
    EXPECT_TRUE(format.SetDefinition(references));
    EXPECT_EQ(format.Parts().size(), references.size() / 6);
    EXPECT_FALSE(format.SetDefinition(std::wstring(1 << 20, L'$')));
    EXPECT_EQ(format.Error(), kInvalidDollar);
    EXPECT_FALSE(format.SetDefinition(std::wstring(1 << 20, L'\\')));
    EXPECT_EQ(format.Error(), kNoVariables);

    // Random code units, unpaired surrogates and NULs among them, never break the parser.
    std::mt19937 random(12345);
    const wchar_t alphabet[] = L"$:;,.[]\\n|aZ9 \n\0\xD800\xDC00\xFFFF";
    for (int round = 0; round < 2000; ++round)
    {
        std::wstring text(random() % 40, L'\0');
        for (wchar_t& c : text)
            c = random() % 3 == 0 ? static_cast<wchar_t>(random() % 0x10000)
                                  : alphabet[random() % (sizeof(alphabet) / sizeof(wchar_t) - 1)];
        ItemFormat random_format;
        const bool valid = random_format.SetDefinition(text);
        EXPECT_EQ(valid, random_format.Error().empty());
    }
}

TEST(ItemFormatTest, PropertyNamesAreCheckedAgainstThePropertySystem)
{
    if (!PlatformHasPropertySystem())
        GTEST_SKIP() << "no property system on this platform";
    // Wine's description lookup is a stub that ends the process, so the lookup is given here:
    // it knows System.Size and nothing else.
    UseStandInPropertyRuntime();

    struct Case
    {
        std::wstring definition;
        std::wstring error;
        size_t parts;
    };
    const Case cases[] = {
        {L"$property:Size", L"", 1},
        {L"$name $property:System.Size", L"Invalid property name 'System.Size'.", 3},
        {L"$property", L"Invalid property name ''.", 1},
        {L"$property:Photo.DateTaken;!", L"Invalid property name 'Photo.DateTaken'.", 2},
    };
    for (const Case& c : cases)
    {
        ItemFormat format;
        EXPECT_EQ(format.SetDefinition(c.definition), c.error.empty()) << c.definition;
        EXPECT_EQ(format.Error(), c.error) << c.definition;
        EXPECT_EQ(format.Parts().size(), c.parts) << c.definition << L": the part is kept all the same";
    }

    // Without the property system's entry points every name is unknown, and values stay empty.
    SetPropertyRuntimeForTesting(std::make_shared<PropertyRunTimeDLLs>(PropertyRunTimeDLLs::EntryPoints{}));
    ItemFormat format;
    EXPECT_FALSE(format.SetDefinition(L"$property:Size"));
    EXPECT_EQ(format.Error(), L"Invalid property name 'Size'.");
    DropPropertyRuntime();
}

TEST_F(ItemFormatFileTest, PropertyValuesAreFetchedOncePerItem)
{
    if (!PlatformHasPropertySystem())
        GTEST_SKIP() << "no property system on this platform";
    // Wine has no property store to read: the stand-in store fails, which must leave every
    // value empty and be asked once per item, however often the list is formatted.
    UseStandInPropertyRuntime();
    g_storesAskedFor.clear();

    const std::vector<std::wstring> paths{TempPath(L"a.txt"), TempPath(L"b.txt")};
    ItemList list;
    for (const std::wstring& path : paths)
    {
        ASSERT_TRUE(WriteFileBytes(path, "x"));
        list.AddPath(path);
    }
    list.Flatten();
    ItemFormat format;
    ASSERT_TRUE(format.SetDefinition(L"$name=<$property:Size>"));
    format.SetSeparator(L",");
    ClipboardText text;
    format.Format(list, text);
    format.Format(list, text);
    EXPECT_EQ(text.Text(), L"a.txt=<>,b.txt=<>");
    EXPECT_EQ(g_storesAskedFor, paths);
    for (const CFItem* item : list.Output())
    {
        ASSERT_EQ(item->propertyValues.count(L"Size"), 1u);
        EXPECT_EQ(item->propertyValues.at(L"Size"), L"");
    }
    DropPropertyRuntime();
}
