#pragma once

#include "core/view/SearchCriteria.h"

#include <optional>
#include <string>
#include <vector>

namespace varnolt::cli {

// What `varnolt-cli find` was asked: the criteria in the search dialog's terms and how to walk.
struct FindRequest {
    std::string capturePath;
    SearchCriteria criteria;
    bool backward = false;
    bool all = false;
    std::optional<int64_t> from; // a position counted from 1
    std::optional<int64_t> max;

    friend bool operator==(const FindRequest&, const FindRequest&) = default;
};

struct FindParseResult {
    std::optional<FindRequest> request;
    std::string error; // why the command line is not understood
};

// The arguments after "find". Criteria whose search would not be set (an empty pattern, idle
// bounds both 0) parse; the search reports them.
[[nodiscard]] FindParseResult ParseFindArguments(const std::vector<std::string>& args);

} // namespace varnolt::cli
