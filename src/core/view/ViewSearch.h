#pragma once

#include "core/capture/CCaptureData.h"
#include "core/view/SearchCondition.h"
#include "core/view/ViewLayout.h"

#include <optional>
#include <string_view>
#include <utility>

namespace varnolt {

class UserPrompt;

// The search commands of the data view: the criteria with their latest hit, and the search
// position, the record after which the next forward search begins (kNoRecord: from the oldest
// record). The view asks NeedsDialog, opens the dialog where it says so, and runs the command;
// the failures are reported here.
class ViewSearch {
public:
    static constexpr std::string_view kNotSet = "検索データが設定されていません";
    static constexpr std::string_view kNotFound = "指定されたデータがありません";
    static constexpr std::string_view kCaption = "Error";

    explicit ViewSearch(const SearchCriteria& criteria) : condition_(criteria) {}

    [[nodiscard]] const SearchCondition& condition() const { return condition_; }
    [[nodiscard]] const SearchCriteria& criteria() const { return condition_.criteria(); }
    // The dialog closed with its search button: every criterion is taken over.
    void setCriteria(const SearchCriteria& criteria) { condition_.setCriteria(criteria); }
    // The years of the capture's stamps without year digits (SearchCondition).
    void setStampYears(StampYears years) { condition_.setStampYears(std::move(years)); }
    [[nodiscard]] RingIndex position() const { return position_; }
    [[nodiscard]] const HitRange& hit() const { return condition_.hit(); }

    // The search command always opens the dialog; find next and find previous only while the
    // criteria are not set.
    [[nodiscard]] bool NeedsDialog(SearchCommand command) const {
        return command == SearchCommand::Dialog || !criteria().set;
    }
    // Runs COMMAND on CAPTURE with the criteria as they stand: forwards from the search position,
    // or (find previous) backwards from the hit's last record. A hit becomes the search position
    // and is returned; unset criteria and a miss are reported through PROMPT and change nothing.
    std::optional<HitRange> Run(const CCaptureData& capture, SearchCommand command,
                                UserPrompt& prompt);

    // A capture laid out afresh: search from the oldest record, no hit.
    void Reset();
    // The view scrolled to TOP: the next find starts there.
    void ScrolledTo(RingIndex top);

private:
    SearchCondition condition_;
    RingIndex position_ = kNoRecord;
};

} // namespace varnolt
