#include "rename/NameTags.h"
#include "rename/RenameCheck.h"
#include "tests/rename/RenameTestSupport.h"
#include "tests/support/ReferencePage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
const std::wstring kPictures = L"C:\\Users\\Ann\\Pictures";

// The name tags' examples of the reference: each typed into the common part "IMG_" of the page's
// sample files, as the Multi Rename dialog takes it, and the new name read from the model.
class ReferenceTagExamplesTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        auto times = [](unsigned long long modified, unsigned long long created) {
            return ReferenceSamples::Times{modified, created, modified};
        };
        const unsigned long long march1 = LocalFileTime(2021, 3, 1, 12, 0, 0);
        ASSERT_TRUE(m_samples.AddFile(kPictures + L"\\2021\\IMG_0012.jpg", 1536,
                                      times(LocalFileTime(2021, 3, 7, 9, 5, 4), march1)));
        ASSERT_TRUE(m_samples.AddFile(kPictures + L"\\2021\\IMG_0013.jpg", 1023,
                                      times(LocalFileTime(2021, 3, 8, 14, 20, 0), march1)));
        ASSERT_TRUE(
            m_samples.AddFile(kPictures + L"\\2022\\IMG_0101.jpg", 3000000,
                              times(LocalFileTime(2022, 1, 15, 18, 45, 30), LocalFileTime(2022, 1, 1, 12, 0, 0))));
    }

    // Runs the examples that need a creation time when `needed`, the others when not; answers how
    // many were left out because the file system keeps none.
    int RunExamples(bool needed)
    {
        RenameModel model = BuildRenameModel(std::vector<std::wstring>{kPictures + L"\\2021\\IMG_0012.jpg",
                                                                       kPictures + L"\\2021\\IMG_0013.jpg",
                                                                       kPictures + L"\\2022\\IMG_0101.jpg"});
        PatternAnalysis analysis = OpenModel(model, true, false);
        // The page lists the files in the order the dialog does.
        std::vector<std::wstring> listed;
        for (const RenameItem* item : model.ListedItems())
            listed.push_back(item->name);
        EXPECT_EQ(listed, (std::vector<std::wstring>{L"IMG_0012.jpg", L"IMG_0013.jpg", L"IMG_0101.jpg"}));
        const auto common =
            std::find_if(analysis.segments.begin(), analysis.segments.end(), [](const Segment& segment) {
                return segment.kind == SegmentKind::Literal && segment.commonText == L"IMG_";
            });
        if (common == analysis.segments.end())
        {
            ADD_FAILURE() << "the samples have no common part IMG_";
            return 0;
        }
        int leftOut = 0;
        for (const ReferenceExample& example : ReadReferenceExamples(L"tag"))
        {
            if (example.needs.empty() == needed)
                continue;
            if (needed && (example.needs != L"creation-time" || !m_samples.CreationTimesKept()))
            {
                EXPECT_EQ(example.needs, L"creation-time") << "an unknown need";
                ++leftOut;
                continue;
            }
            SCOPED_TRACE(testing::Message() << "the reference's example " << example.row);
            common->newText = example.text;
            common->invalidText = IsInvalidReplacement(example.text);
            RecomputeNames(model, analysis);
            if (example.outcome == L"invalid")
            {
                EXPECT_TRUE(common->invalidText);
                continue;
            }
            EXPECT_EQ(example.outcome, L"result");
            EXPECT_FALSE(common->invalidText);
            EXPECT_EQ(NewNameOf(model, example), example.expected);
        }
        return leftOut;
    }

    ReferenceSamples m_samples;

  private:
    static std::wstring NewNameOf(const RenameModel& model, const ReferenceExample& example)
    {
        EXPECT_EQ(example.items.size(), 1u);
        for (const RenameItem* item : model.ListedItems())
            if (!example.items.empty() && item->name == example.items[0])
                return item->newName;
        ADD_FAILURE() << "no sample file of that name";
        return {};
    }
};
} // namespace

TEST_F(ReferenceTagExamplesTest, EveryExampleGivesWhatThePageShows)
{
    EXPECT_EQ(RunExamples(false), 0);
}

TEST_F(ReferenceTagExamplesTest, CreationDateExamplesGiveWhatThePageShows)
{
    if (const int leftOut = RunExamples(true); leftOut > 0)
        GTEST_SKIP() << leftOut << " example(s) not run: the file system keeps no creation time that a program sets";
}
