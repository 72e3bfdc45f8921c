#include "core/view/ViewSearch.h"

#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using test::MakeCapture;
using test::Sd;
using test::SdError;
using testing::RecordingPrompt;

SearchCriteria Errors() {
    SearchCriteria criteria;
    criteria.kind = kSearchError;
    criteria.set = true;
    return criteria;
}

TEST(ViewSearch, FindNextAndPreviousMoveTheSearchPosition) {
    const auto capture = MakeCapture({SdError(0), Sd('a'), SdError(1), Sd('b'), SdError(2)});
    RecordingPrompt prompt;
    ViewSearch search(Errors());
    EXPECT_EQ(search.Run(*capture, SearchCommand::FindNext, prompt)->first, 0);
    EXPECT_EQ(search.Run(*capture, SearchCommand::FindNext, prompt)->first, 2);
    EXPECT_EQ(search.position(), 2);
    EXPECT_EQ(search.Run(*capture, SearchCommand::FindPrevious, prompt)->first, 0);
    // Scrolling moves the search position and the hit's last record to the top record.
    search.ScrolledTo(3);
    EXPECT_EQ(search.Run(*capture, SearchCommand::FindNext, prompt)->first, 4);
    search.ScrolledTo(3);
    EXPECT_EQ(search.Run(*capture, SearchCommand::FindPrevious, prompt)->first, 2);
    search.Reset();
    EXPECT_EQ(search.position(), kNoRecord);
    EXPECT_EQ(search.hit(), HitRange{});
    EXPECT_TRUE(prompt.entries.empty());
}

TEST(ViewSearch, UnsetCriteriaAndMissesAreReportedAndChangeNothing) {
    const auto capture = MakeCapture({Sd('a'), SdError(3)});
    RecordingPrompt prompt;
    SearchCriteria unset = Errors();
    unset.set = false;
    ViewSearch search(unset);
    EXPECT_TRUE(search.NeedsDialog(SearchCommand::FindNext));
    EXPECT_FALSE(search.Run(*capture, SearchCommand::FindNext, prompt));

    search.setCriteria(Errors());
    EXPECT_FALSE(search.NeedsDialog(SearchCommand::FindPrevious));
    EXPECT_TRUE(search.NeedsDialog(SearchCommand::Dialog));
    ASSERT_TRUE(search.Run(*capture, SearchCommand::FindNext, prompt));
    SearchCriteria peOnly = Errors();
    peOnly.errorSet = 0x80;
    search.setCriteria(peOnly);
    EXPECT_FALSE(search.Run(*capture, SearchCommand::Dialog, prompt));
    EXPECT_EQ(search.position(), 1);
    EXPECT_EQ(search.hit(), (HitRange{1, 1, HitKind::Error}));

    ASSERT_EQ(prompt.entries.size(), 2U);
    EXPECT_EQ(prompt.entries[0].text, "検索データが設定されていません");
    EXPECT_EQ(prompt.entries[1].text, "指定されたデータがありません");
    for (const auto& entry : prompt.entries) {
        EXPECT_EQ(entry.caption, "Error");
        EXPECT_EQ(entry.icon, PromptIcon::Information);
    }
}

} // namespace
} // namespace varnolt
