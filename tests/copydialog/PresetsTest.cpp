#include "copydialog/Presets.h"

#include "tests/support/FileHelpers.h"
#include "tests/support/ProductStateTest.h"
#include "tests/support/XmlSamples.h"

#include <windows.h>

#include <random>
#include <string>

namespace
{
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Document(const std::string& presets)
{
    return kDeclaration + "<Presets>" + presets + "</Presets>";
}

// An element as the writer writes it: an empty text closes the tag at once.
std::string Element(const std::string& tag, const std::string& text)
{
    std::string element = "<" + tag;
    if (text.empty())
        return element + "/>";
    element += ">";
    element += text;
    element += "</";
    element += tag;
    element += ">";
    return element;
}

std::string PresetXml(const std::string& name, const std::string& item, const std::string& separator)
{
    return "<Preset>" + Element("Name", name) + Element("Item", item) + Element("Separator", separator) + "</Preset>";
}

// Each test starts with no per-user folder and no default presets file beside the test program,
// which stands where the library stands in an installation.
class PresetsTest : public ProductStateTest
{
  protected:
    void SetUp() override
    {
        ProductStateTest::SetUp();
        ::DeleteFileW(DefaultPresetsPath().c_str());
    }
    void TearDown() override
    {
        ::DeleteFileW(DefaultPresetsPath().c_str());
        ProductStateTest::TearDown();
    }

    static std::wstring UserFile() { return UserFolder() + L"\\Presets.xml"; }
    static std::string UserFileBytes() { return ReadFileBytes(UserFile()).value_or("<missing>"); }
    static void WriteUserFile(const std::string& bytes)
    {
        ASSERT_TRUE(CreateFolder(AppDataFolder() + L"\\Kaldrith"));
        ASSERT_TRUE(CreateFolder(UserFolder()));
        ASSERT_TRUE(WriteFileBytes(UserFile(), bytes));
    }
    static PresetList Loaded(bool expectRead = true)
    {
        PresetList presets;
        EXPECT_EQ(LoadPresets(presets), expectRead);
        return presets;
    }

    const PresetList m_three = {
        {L"Names", L"$name", L"\\n"}, {L"Paths", L"$path", L"\\n"}, {L"Quoted", L"\"$path\"", L" "}};
    const std::string m_threeXml = Document(PresetXml("Names", "$name", "\\n") + PresetXml("Paths", "$path", "\\n") +
                                            PresetXml("Quoted", "&quot;$path&quot;", "&#32;"));
};
} // namespace

TEST_F(PresetsTest, PathsAreTheUsersFolderAndTheLibrarysOwn)
{
    EXPECT_FALSE(PathExists(UserFolder()));
    EXPECT_EQ(UserPresetsPath(), UserFile());
    EXPECT_TRUE(PathExists(UserFolder())); // made on the way, as before each read and write

    wchar_t program[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring expected = program;
    expected.resize(expected.rfind(L'\\') + 1);
    EXPECT_EQ(DefaultPresetsPath(), expected + L"presets.xml");
}

TEST_F(PresetsTest, WrittenFormIsOneLineWithEntitiesAndEmptyTags)
{
    ASSERT_TRUE(SavePresets({}));
    EXPECT_EQ(UserFileBytes(), kDeclaration + "<Presets/>");

    const PresetList presets = {
        {L"a & b <c> \"d\" 'e'", L"$name\t$size", L""},
        {L"  two spaces  ", L"   ", L"  "},
        {L"Gr\u00fc\u00dfe \u65e5\u672c \U0001F600", L"x\r\ny", L","},
        {L"", L"", L""},
    };
    ASSERT_TRUE(SavePresets(presets));
    EXPECT_EQ(UserFileBytes(),
              Document(PresetXml("a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos;", "$name\t$size", "") +
                       PresetXml("  two spaces  ", "&#32;  ", "&#32; ") +
                       PresetXml("Gr\xc3\xbc\xc3\x9f"
                                 "e \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80",
                                 "x\r\ny", ",") +
                       PresetXml("", "", "")));
    EXPECT_EQ(Loaded(), presets); // texts come back as they stand, spaces and line ends included
}

TEST_F(PresetsTest, DefaultFileIsReadUntilTheUserHasAFile)
{
    ASSERT_TRUE(WriteFileBytes(DefaultPresetsPath(), m_threeXml));
    PresetList presets = Loaded();
    ASSERT_EQ(presets, m_three);
    EXPECT_FALSE(PathExists(UserFile()));

    // Renaming one writes the user's file with all of them; the default file stays as it was.
    presets[1].name = L"Full paths";
    ASSERT_TRUE(SavePresets(presets));
    const std::string renamed = Document(PresetXml("Names", "$name", "\\n") + PresetXml("Full paths", "$path", "\\n") +
                                         PresetXml("Quoted", "&quot;$path&quot;", "&#32;"));
    EXPECT_EQ(UserFileBytes(), renamed);
    EXPECT_EQ(ReadFileBytes(DefaultPresetsPath()), m_threeXml);
    EXPECT_EQ(Loaded(), presets);

    // From now on the user's file counts, even when it holds no presets.
    ASSERT_TRUE(SavePresets({}));
    EXPECT_TRUE(Loaded().empty());
}

TEST_F(PresetsTest, EachOperationLeavesTheFileMatchingTheList)
{
    PresetList presets = m_three;
    EXPECT_FALSE(MovePreset(presets, 0, true));
    EXPECT_FALSE(MovePreset(presets, 2, false));
    EXPECT_FALSE(MovePreset(presets, 3, true));
    EXPECT_EQ(presets, m_three);

    ASSERT_TRUE(MovePreset(presets, 2, true));
    ASSERT_TRUE(SavePresets(presets));
    EXPECT_EQ(UserFileBytes(),
              Document(PresetXml("Names", "$name", "\\n") + PresetXml("Quoted", "&quot;$path&quot;", "&#32;") +
                       PresetXml("Paths", "$path", "\\n")));

    ASSERT_TRUE(MovePreset(presets, 0, false));
    DeletePreset(presets, 2);
    DeletePreset(presets, 7); // no such preset: nothing happens
    ASSERT_TRUE(SavePresets(presets));
    EXPECT_EQ(UserFileBytes(),
              Document(PresetXml("Quoted", "&quot;$path&quot;", "&#32;") + PresetXml("Names", "$name", "\\n")));
    EXPECT_EQ(Loaded(), presets);
}

TEST_F(PresetsTest, FindingByNameIgnoresCaseAndByTextsDoesNot)
{
    const PresetList presets = {{L"\u00c4rger", L"$name", L"\\n"}, {L"Paths", L"$path", L"\\n"}, {L"paths", L"", L""}};
    EXPECT_EQ(FindPresetByName(presets, L"\u00e4RGER"), 0);
    EXPECT_EQ(FindPresetByName(presets, L"PATHS"), 1); // the first of two equal names
    EXPECT_EQ(FindPresetByName(presets, L"Path"), -1);
    EXPECT_EQ(FindPresetByName(presets, L""), -1);
    EXPECT_EQ(FindPresetByName({}, L"Paths"), -1);

    EXPECT_EQ(FindPresetByTexts(presets, L"$path", L"\\n"), 1);
    EXPECT_EQ(FindPresetByTexts(presets, L"$PATH", L"\\n"), -1);
    EXPECT_EQ(FindPresetByTexts(presets, L"$path", L"\\r"), -1);
    EXPECT_EQ(FindPresetByTexts(presets, L"", L""), 2);
}

TEST_F(PresetsTest, ReadingIsLenient)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        PresetList expected;
    };
    const Case cases[] = {
        {"any element name, missing and extra children",
         Document("<Other><Name>Only a name</Name></Other><Preset><Separator>;</Separator><Extra>x</Extra>"
                  "<Item>$name</Item></Preset>"),
         {{L"Only a name", L"", L""}, {L"", L"$name", L";"}}},
        {"comments between presets and attributes on the root are not presets",
         kDeclaration + "<Presets version=\"2\"><!-- mine --><Preset><Name>A</Name></Preset><!-- theirs --></Presets>",
         {{L"A", L"", L""}}},
        {"a byte-order mark", "\xef\xbb\xbf" + Document(PresetXml("A", "$name", "\\n")), {{L"A", L"$name", L"\\n"}}},
        {"CR LF line ends and indentation between elements",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Presets>\r\n  <Preset>\r\n    <Name>A</Name>\r\n"
         "    <Item>$name</Item>\r\n  </Preset>\r\n</Presets>\r\n",
         {{L"A", L"$name", L""}}},
        {"no declaration, duplicate names, untrimmed texts",
         "<Presets><Preset><Name> A </Name></Preset><Preset><Name>a</Name></Preset></Presets>",
         {{L" A ", L"", L""}, {L"a", L"", L""}}},
        {"character references",
         Document(PresetXml("&#65;&#x263A;", "&lt;$name&gt;", "&#32;")),
         {{L"A\u263a", L"<$name>", L" "}}},
    };
    for (const Case& c : cases)
    {
        ProductStateTest::ClearProductState();
        WriteUserFile(c.bytes);
        EXPECT_EQ(Loaded(), c.expected) << c.what;
    }
}

// Whatever the user's file holds, a save never loses it: what cannot be read is kept aside first.
TEST_F(PresetsTest, FilesThatCannotBeReadAreKeptBeforeTheyAreReplaced)
{
    std::string nested = kDeclaration + "<Presets>";
    for (size_t i = 0; i < kMaxPresetsNesting; ++i)
        nested += "<a>";
    std::string oversized = m_threeXml;
    oversized.insert(oversized.size() - 10, kMaxPresetsFileSize, ' ');
    const std::pair<const char*, std::string> cases[] = {
        {"malformed", Document(PresetXml("Lost?", "$name", "")).substr(0, 60)},
        {"another root", kDeclaration + "<Settings><Preset><Name>A</Name></Preset></Settings>"},
        {"nested too deeply", nested},
        {"over the size limit", oversized},
        {"text before the declaration", "x" + m_threeXml},
    };
    for (const auto& [what, bytes] : cases)
    {
        ProductStateTest::ClearProductState();
        WriteUserFile(bytes);
        EXPECT_TRUE(Loaded(false).empty()) << what;
        ASSERT_TRUE(SavePresets(m_three)) << what;
        EXPECT_EQ(UserFileBytes(), m_threeXml) << what;
        EXPECT_EQ(ReadFileBytes(UserFile() + L".bak"), bytes) << what;
    }

    // A second bad file gets a copy of its own; a good file is replaced without one.
    WriteUserFile("<Presets>");
    ASSERT_TRUE(SavePresets({}));
    EXPECT_EQ(ReadFileBytes(UserFile() + L".bak2"), "<Presets>");
    ASSERT_TRUE(SavePresets(m_three));
    EXPECT_FALSE(PathExists(UserFile() + L".bak3"));
    EXPECT_FALSE(PathExists(UserFile() + L".new"));

    // An empty file holds nothing to keep.
    ProductStateTest::ClearProductState();
    WriteUserFile("");
    EXPECT_TRUE(Loaded(false).empty());
    ASSERT_TRUE(SavePresets(m_three));
    EXPECT_FALSE(PathExists(UserFile() + L".bak"));
}

TEST_F(PresetsTest, FilesThatCannotBeWrittenStayAsTheyWere)
{
    // A read-only file is the user's say that it must not change.
    WriteUserFile(m_threeXml);
    ASSERT_TRUE(::SetFileAttributesW(UserFile().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Loaded(), m_three);
    EXPECT_FALSE(SavePresets({}));
    EXPECT_EQ(UserFileBytes(), m_threeXml);
    ASSERT_TRUE(::SetFileAttributesW(UserFile().c_str(), FILE_ATTRIBUTE_NORMAL));

    // A folder of that name: the default file is read, and saving fails without touching either.
    ProductStateTest::ClearProductState();
    ASSERT_TRUE(WriteFileBytes(DefaultPresetsPath(), m_threeXml));
    UserPresetsPath();
    ASSERT_TRUE(CreateFolder(UserFile()));
    ASSERT_TRUE(WriteFileBytes(UserFile() + L"\\inside.txt", "keep"));
    EXPECT_EQ(Loaded(), m_three);
    EXPECT_FALSE(SavePresets({}));
    EXPECT_EQ(ReadFileBytes(UserFile() + L"\\inside.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(DefaultPresetsPath()), m_threeXml);
    EXPECT_FALSE(PathExists(UserFile() + L".new"));

    // A file held open by another program without sharing.
    ProductStateTest::ClearProductState();
    WriteUserFile(m_threeXml);
    {
        const HANDLE held = ::CreateFileW(UserFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(SavePresets({}));
        ::CloseHandle(held);
    }
    EXPECT_EQ(UserFileBytes(), m_threeXml);
}

// A user may keep the file elsewhere, in a synchronised folder say, behind a symbolic link: it is
// read through the link, and a save writes the file the link leads to and leaves the link alone.
TEST_F(PresetsTest, ALinkedFileIsReadAndWrittenThroughTheLink)
{
    const std::wstring target = TempPath(L"Presets.xml");
    ASSERT_TRUE(WriteFileBytes(target, m_threeXml));
    ASSERT_TRUE(WriteFileBytes(DefaultPresetsPath(), Document(PresetXml("Default", "$name", ""))));
    UserPresetsPath();
    ASSERT_TRUE(MakeFileLink(UserFile(), target));

    PresetList presets = Loaded();
    EXPECT_EQ(presets, m_three);
    presets[0].name = L"Renamed";
    ASSERT_TRUE(SavePresets(presets));
    EXPECT_EQ(ReadFileBytes(target), SerialisePresets(presets));
    EXPECT_FALSE(PathExists(target + L".new"));
    EXPECT_FALSE(PathExists(UserFile() + L".new"));
    // Still a link: what the file elsewhere holds is what the dialog reads.
    ASSERT_TRUE(WriteFileBytes(target, m_threeXml));
    EXPECT_EQ(Loaded(), m_three);

    // A file elsewhere that cannot be read is kept beside itself before it is replaced.
    ASSERT_TRUE(WriteFileBytes(target, "<Presets>"));
    EXPECT_TRUE(Loaded(false).empty());
    ASSERT_TRUE(SavePresets(m_three));
    EXPECT_EQ(ReadFileBytes(target + L".bak"), "<Presets>");
    EXPECT_FALSE(PathExists(UserFile() + L".bak"));
    EXPECT_EQ(Loaded(), m_three);

    ASSERT_TRUE(RemoveFileLink(UserFile()));
}

// A link whose file is missing (a drive or share not connected, a synchronising program not done)
// reads as no file, and a save fails rather than put a file of its own in the link's place.
TEST_F(PresetsTest, ALinkToAMissingFileIsNeverReplaced)
{
    const std::wstring target = TempPath(L"Presets.xml");
    const PresetList defaults = {{L"Default", L"$name", L""}};
    ASSERT_TRUE(WriteFileBytes(target, m_threeXml));
    ASSERT_TRUE(WriteFileBytes(DefaultPresetsPath(), Document(PresetXml("Default", "$name", ""))));
    UserPresetsPath();
    ASSERT_TRUE(MakeFileLink(UserFile(), target));
    ASSERT_TRUE(DeleteTree(target));

    EXPECT_EQ(Loaded(), defaults);
    if (IsWine())
    {
        ASSERT_TRUE(RemoveFileLink(UserFile()));
        GTEST_SKIP() << kWineHidesBrokenLinks;
    }
    EXPECT_FALSE(SavePresets(defaults));
    EXPECT_FALSE(PathExists(UserFile() + L".new"));
    // The link is as it was: once its file is back, the presets are read through it.
    ASSERT_TRUE(WriteFileBytes(target, m_threeXml));
    EXPECT_EQ(Loaded(), m_three);

    ASSERT_TRUE(RemoveFileLink(UserFile()));
}

TEST_F(PresetsTest, LargeListsAndTexts)
{
    // Ten thousand presets save and load in order.
    PresetList many;
    for (int i = 0; i < 10000; ++i)
        many.push_back({L"Preset " + std::to_wstring(i), L"$name:" + std::to_wstring(i), i % 2 ? L"\\n" : L""});
    ASSERT_TRUE(SavePresets(many));
    EXPECT_EQ(Loaded(), many);

    // A list whose file would be too large to read back is not saved: the file keeps the presets
    // it had, and the list keeps the change.
    PresetList huge = many;
    huge.push_back({std::wstring(1024 * 1024, L'n'), L"$name", L""});
    const std::string before = UserFileBytes();
    EXPECT_FALSE(SavePresets(huge));
    EXPECT_EQ(UserFileBytes(), before);
    EXPECT_EQ(huge.size(), 10001u);

    // Texts just inside the limit do round-trip.
    const PresetList big = {{std::wstring(500 * 1024, L'x'), std::wstring(500 * 1024, L'$'), L""}};
    ASSERT_TRUE(SavePresets(big));
    EXPECT_EQ(Loaded(), big);
}

TEST_F(PresetsTest, OnlyWhatReadsBackIsWritten)
{
    // Markup and control characters in texts are escaped or kept and come back as they were.
    const PresetList odd = {{L"<![CDATA[ x ]]> <!-- y -->", L"\x01\x1f$name", L"&#32;"}};
    ASSERT_TRUE(SavePresets(odd));
    EXPECT_EQ(Loaded(), odd);

    // A NUL ends the reader's text: such a list would load as no presets, so the file is kept.
    const std::string before = UserFileBytes();
    PresetList withNul = m_three;
    withNul[0].name = std::wstring(L"a\0b", 3);
    EXPECT_FALSE(SavePresets(withNul));
    EXPECT_EQ(UserFileBytes(), before);
}

// The file is read when the copy options dialog opens, inside the file manager: no document, however
// deep, may cost more stack than the reader's own few frames.
TEST(PresetsParseTest, NoDocumentExhaustsTheStack)
{
    const std::optional<size_t> read =
        ReadSamplesOnSmallStack(kMaxPresetsFileSize, kMaxPresetsNesting, 20261210, [](const std::string& document) {
            PresetList presets;
            return ParsePresets(document, presets);
        });
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, 0u) << "none of them is a presets file";
}
