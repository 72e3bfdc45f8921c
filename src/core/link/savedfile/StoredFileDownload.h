#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

class CMoniterComm;

// The transfer of one stored file, driven one look at the link at a time: "FR" and the file
// number, then data blocks ("FD") each acknowledged with "ACK" and appended to the buffer,
// until the end ("FE"), also acknowledged. A block whose check byte is wrong is asked again
// with "NAK" as often as it comes; an error or a time-out asks again with "NAK" at most three
// times in a row.
class StoredFileDownload {
public:
    enum class Step {
        Running,  // waiting for the next block
        Complete, // the end arrived: received() holds the file
        TimedOut, // the caller sends "ESC" and reports the time-out
        TooLarge, // a block would not fit the buffer: the caller sends "ESC"; nothing is kept
    };

    // Blocks are appended to BUFFER, from its first word for each file.
    StoredFileDownload(CMoniterComm& link, std::span<uint16_t> buffer)
        : link_(link), buffer_(buffer) {}

    // Flushes what waits on the link and asks for file NUMBER.
    void Begin(int32_t number);
    [[nodiscard]] Step Poll();

    [[nodiscard]] size_t receivedWords() const { return received_; }
    [[nodiscard]] std::span<const uint16_t> received() const { return buffer_.first(received_); }

private:
    void reply(const char* text);

    CMoniterComm& link_;
    std::span<uint16_t> buffer_;
    size_t received_ = 0;
    int attempts_ = 0;
};

} // namespace varnolt
