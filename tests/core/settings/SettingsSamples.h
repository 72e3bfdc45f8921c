#pragma once

#include "core/settings/CSaParameter.h"

#include <cstdint>

namespace varnolt::testing {

// A model whose every field differs from its default and from the same field of every other
// entry, with values that fit the analyzer's narrower wire widths. Current values and reserved
// bytes stay at their defaults (they travel neither in files nor to the analyzer, resp. not to
// the analyzer).
inline CSaParameter SampleSettings() {
    CSaParameter m;
    m.lineMode = 4;
    m.speed = 460'800;
    m.dataBits = 7;
    m.stopBits = 2;
    m.parity = 3;
    m.transmitOutput = 1;
    m.idleDisplay = 2;
    m.timeDisplay = 5;
    m.controlLineCapture = 1;
    m.controlLineDrawing = 1;
    m.displayMode = 1;
    m.frameDetectionTime = 98'765;
    for (int i = 0; i < 4; ++i) {
        m.frameDelimiters[i] = {1, static_cast<uint8_t>(0x02 + i), static_cast<uint8_t>(0x30 + i)};
    }
    m.operationKeys = 1;
    m.characterSize = 1;
    m.backlightOffTime = 200;
    for (int i = 0; i < 8; ++i) {
        SaTriggerEntry& t = m.triggers[i];
        t.enabled = 0xFF;
        t.condition = static_cast<uint8_t>(0x20 + i);
        t.riseMask = static_cast<uint16_t>(0xA001 + 0x0101 * i);
        t.fallMask = static_cast<uint16_t>(0x5002 + 0x0101 * i);
        t.action = static_cast<uint8_t>(8 - i);
        t.errorMask = static_cast<uint8_t>(0xF8 - i);
        t.conditionValue = 0x89AB'CDEFu + static_cast<uint32_t>(i);
        t.actionValue1 = static_cast<uint16_t>(0x1234 + i);
        t.actionValue2 = static_cast<uint16_t>(0x8000 + i);
        t.transmitNumber = static_cast<uint8_t>(49 - i);
        t.matchLines = static_cast<uint8_t>(1 + i % 2);
        for (int j = 0; j < 16; ++j) {
            t.pattern[j] = {static_cast<uint8_t>(1 + j), static_cast<uint8_t>(0x40 + 16 * i + j)};
        }
        for (int k = 0; k < 4; ++k) {
            t.bitMasks[k] = {static_cast<uint8_t>(0x11 * (k + 1) + i),
                             static_cast<uint8_t>(0x80 + k + i)};
            t.ranges[k] = {1, static_cast<uint8_t>(0x10 + k), static_cast<uint8_t>(2 + i),
                           static_cast<uint8_t>(0xE0 + k + i)};
        }
        t.historyEnabled = 0xFF;
        t.extendedSave = 1 + i % 2;
        t.extendedSaveNumber = static_cast<uint8_t>(1 + i % 3);
    }
    for (int i = 0; i < 4; ++i) {
        m.timers[i].setValue = 99'999'999u - static_cast<uint32_t>(i);
        m.timers[i].autoStart = -1;
        m.timers[i].unit = static_cast<int16_t>(1 + i);
        m.counters[i].setValue = 12'345'678u + static_cast<uint32_t>(i);
        m.counters[i].resetAtStart = static_cast<int16_t>(i);
    }
    for (int k = 0; k < 50; ++k) {
        SaTxEntry& e = m.transmitEntries[k];
        e.elementCount = 1 + k;
        for (int j = 0; j < 128; ++j) {
            e.elements[j] = {1, static_cast<uint8_t>(k * 7 + j)};
        }
    }
    return m;
}

} // namespace varnolt::testing
