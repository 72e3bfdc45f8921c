#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace varnolt::sim {

// Modbus RTU's CRC-16 (polynomial A001 reflected, start FFFF) over BYTES; the frame carries it
// low byte first.
[[nodiscard]] uint16_t ModbusCrc(std::span<const uint8_t> bytes);

// One request of a Modbus RTU master and its slave's answer, each a whole frame (address,
// function, data, CRC).
struct ModbusTransaction {
    std::vector<uint8_t> request;
    std::vector<uint8_t> response;
};

// A transaction as a master polling a few slaves makes them: reading coils (1), holding (3) and
// input registers (4), writing a coil (5), a register (6), several coils (15) and several
// registers (16); now and then the slave refuses with an exception (function | 80 hex). Every
// response matches its request: same slave, same function, as many values as were asked for.
[[nodiscard]] ModbusTransaction MakeModbusTransaction(std::mt19937_64& random);

} // namespace varnolt::sim
