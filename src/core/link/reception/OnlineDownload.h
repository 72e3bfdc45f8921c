#pragma once

#include <cstdint>

namespace varnolt {

class CCaptureData;
class CMoniterComm;
class Pump;
class UserPrompt;

// The status bar's progress during a download (the view hides it once the download ends).
class DownloadProgress {
public:
    DownloadProgress() = default;
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;
    virtual ~DownloadProgress() = default;

    virtual void ShowProgress(int32_t percent) = 0;
};

// The analyzer's memory holds 900,012 sixteen-bit or 450,008 thirty-two-bit records when
// full; the stored amount counts hundredths of it.
inline constexpr int32_t kFullMemoryRecordsNarrow = 900'012;
inline constexpr int32_t kFullMemoryRecordsWide = 450'008;

// How far a download of AMOUNT hundredths has come with LAST as the store's last index, in
// percent; 0 while the expected number of records is not positive.
[[nodiscard]] int32_t DownloadPercent(int32_t last, int32_t amount, uint16_t recordWidth);

// Fetches the analyzer's stored measurement into STORE block by block ("BA", then "BB"; "BR"
// repeats a block that did not arrive intact), until the analyzer answers "BL", "PSR" or
// "PSS". AMOUNT (from GetStoredAmount, possibly -1) only scales the progress. PUMP runs before
// every look at the link. A block lost or garbled more than three times in a row ends the
// download with "アナライザーとの通信に失敗しました"; a cancel request on LINK (closing the
// window) ends it silently. What arrived stays in STORE either way.
bool DownloadOnlineData(CMoniterComm& link, UserPrompt& owner, CCaptureData& store,
                        DownloadProgress& progress, int32_t amount, Pump& pump);

} // namespace varnolt
