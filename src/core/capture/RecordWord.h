#pragma once

#include <cstdint>

namespace varnolt {

// One item of a capture as the analyzer records it: a 32-bit word whose bits 31..28 give the
// kind and whose bits 27..16 depend on it. With record width 1 bits 15..0 carry the six
// control-line states at the time of the item; with record width 0 they are 0.
using RecordWord = uint32_t;

enum class RecordKind : uint8_t {
    None = 0,
    SdCharacter = 1,
    RdCharacter = 2,
    SdError = 3,
    RdError = 4,
    IdleHead = 5, // followed by two IdleContinuation words
    IdleContinuation = 6,
    StampHead = 7, // followed by three StampContinuation words
    StampContinuation = 8,
    FileHeaderData = 9, // tags of capture-file header words, never in the ring's output
    FileHeaderVersion = 10,
    ControlLineChange = 11,
};

// Line error codes of kinds 3 and 4.
enum class LineError : uint8_t {
    Parity = 0,
    Framing = 1,
    ParityFraming = 2,
    Break = 3,
    Overrun = 4
};

// The record the analyzer link appends when the analyzer reports an overflow (an SD overrun).
inline constexpr RecordWord kOverflowMarkerWord = 0x30040000;

[[nodiscard]] constexpr RecordKind KindOf(RecordWord word) {
    return static_cast<RecordKind>(word >> 28);
}
// Character code of kinds 1 and 2, error code of kinds 3 and 4, first payload byte of 5 and 7.
[[nodiscard]] constexpr uint8_t CodeOf(RecordWord word) {
    return static_cast<uint8_t>(word >> 16);
}
// Characters and errors carrying it begin a new line in the readers.
[[nodiscard]] constexpr bool IsLineStart(RecordWord word) {
    return (word >> 24 & 1) != 0;
}
// The 12-bit field of kinds 6, 8 and 11 (bits 27..16).
[[nodiscard]] constexpr uint16_t FieldOf(RecordWord word) {
    return static_cast<uint16_t>(word >> 16 & 0xFFF);
}
// Bits 27..24: the resolution of an idle head, the stamp kind of a time-stamp head.
[[nodiscard]] constexpr uint8_t SubKindOf(RecordWord word) {
    return static_cast<uint8_t>(word >> 24 & 0xF);
}
// The control-line field of a word captured with record width 1.
[[nodiscard]] constexpr uint16_t ControlLineFieldOf(RecordWord word) {
    return static_cast<uint16_t>(word & 0xFFFF);
}
// Kinds that begin an item; the other kinds continue the item before them.
[[nodiscard]] bool IsItemStart(RecordWord word);

[[nodiscard]] constexpr RecordWord MakeRecordWord(RecordKind kind, uint32_t bits27to16) {
    return static_cast<uint32_t>(kind) << 28 | (bits27to16 & 0xFFF) << 16;
}

// ---- Control lines -------------------------------------------------------------------------

// The six control lines in the order of their 2-bit states (RS in bits 1..0 ... CI in 11..10).
enum class ControlLine : uint8_t { RS = 0, ER = 1, CS = 2, DR = 3, CD = 4, CI = 5 };
inline constexpr int kControlLineCount = 6;

enum class LineState : uint8_t { Unknown, On, Off };

// The state of LINE in a 12-bit group of six 2-bit states (1 on, 2 off, other unknown).
[[nodiscard]] constexpr LineState LineStateOf(uint16_t states, ControlLine line) {
    switch (states >> (2 * static_cast<int>(line)) & 3) {
    case 1:
        return LineState::On;
    case 2:
        return LineState::Off;
    default:
        return LineState::Unknown;
    }
}
// A control-line change word's states before and after the change.
[[nodiscard]] constexpr uint16_t PreviousLineStates(RecordWord word) {
    return FieldOf(word);
}
[[nodiscard]] constexpr uint16_t NewLineStates(RecordWord word) {
    return static_cast<uint16_t>(word & 0xFFF);
}

// ---- Idle gaps -----------------------------------------------------------------------------

// Resolution of an idle head: 1 = 0.001 s, 2 = 0.01 s, 3 = 0.1 s.
[[nodiscard]] constexpr uint8_t IdleResolution(RecordWord head) {
    return SubKindOf(head);
}
// The idle length in resolution units: the head's byte, then the two 12-bit continuation fields.
[[nodiscard]] constexpr uint32_t IdleValue(RecordWord head, RecordWord first, RecordWord second) {
    return uint32_t{CodeOf(head)} << 24 | uint32_t{FieldOf(first)} << 12 | FieldOf(second);
}

// ---- Time stamps ---------------------------------------------------------------------------

// How a stamp spreads its digits over the head byte and the three 12-bit continuations.
enum class StampLayout : uint8_t {
    A, // year, month, day, hours, minutes, seconds
    B, // month, day, hours, minutes, seconds, tenths, hundredths
};

// Stamp kinds 2 and 5 use layout B, every other kind layout A.
[[nodiscard]] StampLayout LayoutOfStampKind(uint8_t stampKind);

// A stamp unpacked into packed decimal digits, one per 4-bit nibble. Layout A: date nibbles
// 5..0 = Y Y M M D D; layout B: date nibbles 3..0 = M M D D. Time nibbles 7..0 = H H M M S S
// tenths hundredths (the last two 0 in layout A).
struct StampDigits {
    uint32_t date = 0;
    uint32_t time = 0;
    friend bool operator==(const StampDigits&, const StampDigits&) = default;
};

// The digits of a four-word time stamp, by the layout of the head's stamp kind.
[[nodiscard]] StampDigits UnpackTimeStamp(RecordWord head, RecordWord first, RecordWord second,
                                          RecordWord third);

// Digit INDEX (nibble 0 = lowest) of a packed-digit value.
[[nodiscard]] constexpr unsigned DigitAt(uint32_t packed, int index) {
    return packed >> (4 * index) & 0xF;
}

} // namespace varnolt
