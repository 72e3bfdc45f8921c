#include "sim/ModbusFrames.h"

#include <array>

namespace varnolt::sim {

namespace {

constexpr uint8_t kReadCoils = 1;
constexpr uint8_t kReadHoldingRegisters = 3;
constexpr uint8_t kReadInputRegisters = 4;
constexpr uint8_t kWriteSingleCoil = 5;
constexpr uint8_t kWriteSingleRegister = 6;
constexpr uint8_t kWriteMultipleCoils = 15;
constexpr uint8_t kWriteMultipleRegisters = 16;
constexpr uint8_t kExceptionBit = 0x80;
constexpr uint8_t kSlaves = 3; // addresses 1 to 3

void Append16(std::vector<uint8_t>& frame, uint32_t value) {
    frame.push_back(static_cast<uint8_t>(value >> 8));
    frame.push_back(static_cast<uint8_t>(value));
}

void AppendRandom(std::vector<uint8_t>& frame, size_t count, std::mt19937_64& random) {
    for (size_t k = 0; k < count; ++k) {
        frame.push_back(static_cast<uint8_t>(random()));
    }
}

std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
    const uint16_t crc = ModbusCrc(frame);
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

} // namespace

uint16_t ModbusCrc(std::span<const uint8_t> bytes) {
    uint16_t crc = 0xFFFF;
    for (const uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

ModbusTransaction MakeModbusTransaction(std::mt19937_64& random) {
    static constexpr std::array kFunctions = {
        kReadCoils,           kReadHoldingRegisters, kReadInputRegisters,    kWriteSingleCoil,
        kWriteSingleRegister, kWriteMultipleCoils,   kWriteMultipleRegisters};
    const auto slave = static_cast<uint8_t>(1 + random() % kSlaves);
    const uint8_t function = kFunctions[random() % kFunctions.size()];
    const auto address = static_cast<uint32_t>(random() % 1000);
    std::vector<uint8_t> request{slave, function};
    std::vector<uint8_t> response{slave, function};
    Append16(request, address);
    switch (function) {
    case kReadCoils: {
        const auto coils = static_cast<uint32_t>(1 + random() % 64);
        Append16(request, coils);
        response.push_back(static_cast<uint8_t>((coils + 7) / 8));
        AppendRandom(response, (coils + 7) / 8, random);
        break;
    }
    case kReadHoldingRegisters:
    case kReadInputRegisters: {
        const auto registers = static_cast<uint32_t>(1 + random() % 16);
        Append16(request, registers);
        response.push_back(static_cast<uint8_t>(2 * registers));
        AppendRandom(response, 2 * registers, random);
        break;
    }
    case kWriteSingleCoil:
        Append16(request, random() % 2 == 0 ? 0xFF00 : 0x0000);
        response = request; // the echo
        break;
    case kWriteSingleRegister:
        AppendRandom(request, 2, random);
        response = request;
        break;
    case kWriteMultipleCoils:
    case kWriteMultipleRegisters: {
        const bool coils = function == kWriteMultipleCoils;
        const auto quantity = static_cast<uint32_t>(1 + random() % (coils ? 32 : 8));
        const uint32_t bytes = coils ? (quantity + 7) / 8 : 2 * quantity;
        Append16(request, quantity);
        request.push_back(static_cast<uint8_t>(bytes));
        AppendRandom(request, bytes, random);
        Append16(response, address);
        Append16(response, quantity);
        break;
    }
    default:
        break;
    }
    if (random() % 16 == 0) {
        // Illegal data address.
        response = {slave, static_cast<uint8_t>(function | kExceptionBit), 2};
    }
    return {WithCrc(std::move(request)), WithCrc(std::move(response))};
}

} // namespace varnolt::sim
