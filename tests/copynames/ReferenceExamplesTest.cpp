#include "copynames/ItemFormat.h"
#include "copynames/PropertyRuntime.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ReferencePage.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
const std::wstring kDocuments = L"C:\\Users\\Ann\\Documents";

// What the platform must offer for the page's examples marked with data-needs; empty when it does.
std::wstring MissingFor(const std::wstring& needs, const ReferenceSamples& samples)
{
    if (needs.empty())
        return L"";
    if (needs == L"creation-time")
        return samples.CreationTimesKept() ? L"" : L"the file system keeps no creation time that a program sets";
    if (needs == L"windows-type-names")
        return IsWine() ? L"Wine names types its own way (\".txt file\", \"Folder\")" : L"";
    if (needs == L"property-system")
        return IsWine() || !PlatformHasPropertySystem() ? L"no property system (Wine's is a stub that crashes)" : L"";
    return L"unknown need " + needs;
}

std::wstring WithoutCarriageReturnsBeforeLineFeeds(std::wstring text)
{
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at))
        text.erase(at, 1);
    return text;
}

// The format language's examples of the reference, run through the copy commands' own formatting
// over the page's sample items.
class ReferenceFormatExamplesTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        const ReferenceSamples::Times report{LocalFileTime(2021, 3, 7, 9, 5, 4), LocalFileTime(2021, 2, 1, 8, 0, 0),
                                             LocalFileTime(2021, 3, 8, 17, 30, 0)};
        const unsigned long long plansTime = LocalFileTime(2022, 1, 15, 18, 45, 30);
        const unsigned long long photosTime = LocalFileTime(2021, 3, 7, 9, 5, 4);
        ASSERT_TRUE(m_samples.AddFile(kDocuments + L"\\Q1 report.txt", 1536, report));
        ASSERT_TRUE(
            m_samples.AddFile(kDocuments + L"\\Plans \u2013 2022.tar.gz", 3000000, {plansTime, plansTime, plansTime}));
        ASSERT_TRUE(m_samples.AddFolder(kDocuments + L"\\Photos", {photosTime, photosTime, photosTime}));
    }

    // Runs the examples whose needs are met: those marked with a need when `needed`, the others
    // when not. Returns why the others were left out.
    std::map<std::wstring, int> RunExamples(bool needed)
    {
        std::map<std::wstring, int> leftOut;
        for (const ReferenceExample& example : ReadReferenceExamples(L"format"))
        {
            if (example.needs.empty() == needed)
                continue;
            if (const std::wstring missing = MissingFor(example.needs, m_samples); !missing.empty())
            {
                ++leftOut[missing];
                continue;
            }
            Check(example);
        }
        return leftOut;
    }

  private:
    void Check(const ReferenceExample& example)
    {
        SCOPED_TRACE(testing::Message() << "the reference's example " << example.row);
        std::vector<std::wstring> paths;
        paths.reserve(example.items.size());
        ItemList list;
        for (const std::wstring& item : example.items)
            list.AddPath(paths.emplace_back(kDocuments + L"\\" + item));
        list.Flatten();
        ASSERT_EQ(list.Output().size(), example.items.size());

        ItemFormat format;
        const bool valid = format.SetDefinition(example.text);
        if (example.outcome == L"error")
        {
            EXPECT_FALSE(valid);
            EXPECT_EQ(format.Error(), example.expected);
            return;
        }
        ASSERT_EQ(example.outcome, L"result");
        ASSERT_TRUE(valid) << format.Error();
        format.SetSeparator(example.hasSeparator ? example.separator : L"\\n");
        ClipboardText text;
        format.Format(list, text);
        // Each line break reaches the clipboard as CR LF; the page shows a line break.
        EXPECT_EQ(WithoutCarriageReturnsBeforeLineFeeds(std::wstring(text.Text())), example.expected);
        DropPropertyRuntime();
    }

    ReferenceSamples m_samples;
};
} // namespace

TEST_F(ReferenceFormatExamplesTest, EveryExampleGivesWhatThePageShows)
{
    const std::map<std::wstring, int> leftOut = RunExamples(false);
    EXPECT_TRUE(leftOut.empty());
}

TEST_F(ReferenceFormatExamplesTest, ExamplesOfPlatformFeaturesGiveWhatThePageShows)
{
    const std::map<std::wstring, int> leftOut = RunExamples(true);
    if (leftOut.empty())
        return;
    testing::Message reasons;
    for (const auto& [reason, count] : leftOut)
        reasons << count << " example(s) not run: " << reason << "; ";
    GTEST_SKIP() << reasons;
}
