#pragma once

#include "core/capture/RecordWord.h"
#include "core/view/SearchCriteria.h"

namespace varnolt {

// Whether the SD or RD character or error record WORD matches ELEMENT of PATTERN: a character
// code, an error code, any record, a bit mask or a range of PATTERN. Kinds other than 1, 2, 10,
// 20 and 21, and bit masks or ranges numbered above 3, never match.
[[nodiscard]] bool ElementMatches(const PatternElement& element, RecordWord word,
                                  const CharacterPattern& pattern);

} // namespace varnolt
