#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/capture/RecordWord.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace varnolt {

class CaptureSaver;

// A position in the capture ring, 0 ... capacity - 1; kNoRecord where there is none.
using RingIndex = int32_t;
// A number of records.
using RecordCount = int32_t;

inline constexpr RingIndex kNoRecord = -1;
// The ring's arrays hold this many entries; no capture is ever larger.
inline constexpr RecordCount kMaxRingCapacity = 4'000'000;

// One ring entry: the record word and the item's position in the analyzer's own capture memory
// (0 for records loaded from a file).
struct CaptureRecord {
    RecordWord word = 0;
    int32_t deviceIndex = 0;
};

// The two word-only mirrors of the ring. While a background save writes one, reception goes on
// into the other.
enum class CaptureBank : int32_t { A = 2, B = 3 };

// The array a capture-file save reads: a bank, or the ring itself.
enum class SaveSource : int32_t { Ring = 0, BankA = 2, BankB = 3 };

// What a background save writes: a stretch around a trigger, or a full (or final) bank.
enum class SaveKind : int32_t { Trigger = 0, Automatic = 1 };

// What CCaptureData::StartSave is asked to write, by the numbers its callers use.
enum class SaveRequest : int32_t {
    TriggerRing = 0, // a trigger stretch, from the ring (as Trigger)
    Trigger = 1,     // a trigger stretch, from the ring
    BankA = 2,       // a full bank (automatic)
    BankB = 3,
    ActiveBank = 4, // the partial bank at the end of a measurement (automatic)
};

// What one background save writes, handed to the saver by value: the kind (the file's
// prefix), the array the words come from and the inclusive ring range FIRST ... LAST.
struct SaveOrder {
    SaveKind kind = SaveKind::Trigger;
    SaveSource source = SaveSource::Ring;
    RingIndex first = 0;
    RingIndex last = kNoRecord;

    friend bool operator==(const SaveOrder&, const SaveOrder&) = default;
};

[[nodiscard]] constexpr CaptureBank OtherBank(CaptureBank bank) {
    return bank == CaptureBank::B ? CaptureBank::A : CaptureBank::B;
}
[[nodiscard]] constexpr SaveSource SaveSourceOf(CaptureBank bank) {
    return bank == CaptureBank::A ? SaveSource::BankA : SaveSource::BankB;
}
[[nodiscard]] constexpr SaveRequest SaveRequestOf(CaptureBank bank) {
    return bank == CaptureBank::A ? SaveRequest::BankA : SaveRequest::BankB;
}

// The ring capacity for the automatic-save file size in megabytes (250,000 records per
// megabyte); nullopt for a size other than 1, 2, 4, 8 or 16, which leaves the capacity alone.
[[nodiscard]] std::optional<RecordCount> RingCapacityForFileSize(int megabytes);

// (INDEX + N) brought into 0 ... CAPACITY - 1 by one addition or subtraction of CAPACITY.
[[nodiscard]] RingIndex WrapRingIndex(RingIndex index, RecordCount n, RecordCount capacity);

// The one capture in memory: its header and a ring of record words of fixed capacity that
// overwrites its oldest record once full, with two save banks mirroring every word written.
//
// The arrays are allocated once by the constructor and never move. Only the user-interface
// thread writes the ring, the banks and the indexes; a background save copies the words it
// writes when it is requested.
class CCaptureData {
public:
    // MAXCAPACITY entries per array, kept within 1 ... kMaxRingCapacity (tests use small ones);
    // the capacity starts there and every reset or load returns it there.
    explicit CCaptureData(RecordCount maxCapacity = kMaxRingCapacity);
    CCaptureData(const CCaptureData&) = delete;
    CCaptureData& operator=(const CCaptureData&) = delete;
    ~CCaptureData();

    // ---- Header --------------------------------------------------------------------------
    [[nodiscard]] const CaptureHeader& header() const { return header_; }
    [[nodiscard]] CaptureHeader& header() { return header_; }

    // ---- Capacity ------------------------------------------------------------------------
    [[nodiscard]] RecordCount maxCapacity() const { return maxCapacity_; }
    [[nodiscard]] RecordCount capacity() const { return capacity_.load(std::memory_order_relaxed); }
    // Sets the number of ring entries in use, kept within 1 ... maxCapacity(). Meant for an
    // empty store (the start of a measurement, right after Reset).
    void setCapacity(RecordCount capacity);
    // The capacity for the automatic-save file size (RingCapacityForFileSize, at most
    // maxCapacity()); other sizes leave it unchanged.
    void applyAutoSaveFileSize(int megabytes);

    // ---- Emptying ------------------------------------------------------------------------
    // Empties the ring for loading a file: full capacity, not wrapped, first 0, last -1, bank A
    // active. The header keeps its values.
    void PrepareForLoad();
    // PrepareForLoad, then the header takes over CONDITIONS.
    void Reset(const CaptureConditions& conditions);

    // ---- Filling -------------------------------------------------------------------------
    // Writes {WORD, DEVICEINDEX} after the newest record (at 0 after the ring's end), and WORD
    // into the active bank at the same index; returns the new last index.
    RingIndex Append(RecordWord word, int32_t deviceIndex);
    // Loads WORDS after the newest record with device index 0, stopping at the ring's end
    // (a file load never wraps); returns how many were stored. First index is not touched.
    RecordCount AppendLoaded(std::span<const RecordWord> words);
    // Reception with automatic saving calls this after each append: when APPENDED is the
    // ring's last slot, the active bank holds a full ring. Returns that bank, to be saved over
    // 0 ... capacity - 1, and makes the other bank active; nullopt otherwise.
    [[nodiscard]] std::optional<CaptureBank> SwitchBankIfFull(RingIndex appended);

    // ---- Reading -------------------------------------------------------------------------
    [[nodiscard]] bool wrapped() const { return wrapped_.load(std::memory_order_relaxed); }
    [[nodiscard]] RingIndex firstIndex() const { return first_; }
    [[nodiscard]] RingIndex lastIndex() const { return last_; }
    [[nodiscard]] bool empty() const { return last_ < 0; }
    [[nodiscard]] CaptureBank activeBank() const { return activeBank_; }

    // Number of records held.
    [[nodiscard]] RecordCount Count() const;
    // Records the ring has overwritten since it was last emptied: the oldest record held is
    // the (overwritten() + 1)-th appended.
    [[nodiscard]] int64_t overwritten() const { return overwritten_; }
    // INDEX moved forward by N records, never past the newest; -1 for an empty store.
    [[nodiscard]] RingIndex Advance(RingIndex index, RecordCount n) const;
    // (INDEX + N) brought into the ring by one addition or subtraction of the capacity. The
    // record K places after the oldest is at WrapIndex(firstIndex(), K).
    [[nodiscard]] RingIndex WrapIndex(RingIndex index, RecordCount n) const {
        return WrapRingIndex(index, n, capacity());
    }

    // Entries at INDEX within 0 ... maxCapacity() - 1.
    [[nodiscard]] const CaptureRecord& record(RingIndex index) const { return ring_[index]; }
    [[nodiscard]] RecordWord word(RingIndex index) const { return ring_[index].word; }
    [[nodiscard]] RecordWord bankWord(CaptureBank bank, RingIndex index) const;
    // The word at INDEX of the array a save reads.
    [[nodiscard]] RecordWord sourceWord(SaveSource source, RingIndex index) const;
    // Appends to OUT the COUNT words of SOURCE from index FIRST on, stepping through the ring's
    // end; FIRST within 0 ... capacity - 1, COUNT at most the capacity.
    void CopyWords(SaveSource source, RingIndex first, RecordCount count,
                   std::vector<RecordWord>& out) const;

    // ---- Background save -------------------------------------------------------------------
    // Saves a stretch of records into a capture file in the background: REQUEST gives kind and
    // source (0, 1: a trigger stretch from the ring; 2, 3: bank A, B; 4: the active bank),
    // FIRST ... LAST the inclusive ring range. The saver gets that as a SaveOrder and copies the
    // words now, so the store may go on changing and keeps no save state of its own. Returns
    // whether the save was queued: not when the save folder is missing, which is not reported
    // either, nor for a range the store cannot give.
    bool StartSave(SaveRequest request, RingIndex first, RingIndex last);
    // The background saver, for its folder, display mode, clock and error reports.
    [[nodiscard]] CaptureSaver& saver() { return *saver_; }
    // A save is queued or being written.
    [[nodiscard]] bool saveBusy() const;

private:
    [[nodiscard]] RecordWord* activeBankWords() {
        return activeBank_ == CaptureBank::A ? bankA_.get() : bankB_.get();
    }

    const RecordCount maxCapacity_;
    std::unique_ptr<CaptureRecord[]> ring_;
    std::unique_ptr<RecordWord[]> bankA_;
    std::unique_ptr<RecordWord[]> bankB_;

    CaptureHeader header_;
    // Read by a save thread, written only while no save of the ring is under way.
    std::atomic<RecordCount> capacity_;
    std::atomic<bool> wrapped_{false};
    CaptureBank activeBank_ = CaptureBank::A;
    RingIndex first_ = 0;
    RingIndex last_ = kNoRecord;
    int64_t overwritten_ = 0;
    std::unique_ptr<CaptureSaver> saver_;
};

} // namespace varnolt
