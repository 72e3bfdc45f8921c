#include "core/settings/dialog/SettingsComparison.h"

#include "core/settings/CSaParameter.h"

#include <tuple>

namespace varnolt {

namespace {

auto CommunicationFields(const CSaParameter& m) {
    return std::tie(m.lineMode, m.speed, m.dataBits, m.stopBits, m.parity, m.transmitOutput);
}

auto DisplayFields(const CSaParameter& m) {
    return std::tie(m.idleDisplay, m.timeDisplay, m.controlLineCapture, m.controlLineDrawing,
                    m.displayMode, m.frameDetectionTime, m.operationKeys, m.characterSize,
                    m.backlightOffTime);
}

bool DelimitersDiffer(const CSaParameter& a, const CSaParameter& b) {
    for (size_t i = 0; i < a.frameDelimiters.size(); ++i) {
        if (a.frameDelimiters[i].enabled != b.frameDelimiters[i].enabled ||
            a.frameDelimiters[i].code != b.frameDelimiters[i].code) {
            return true;
        }
    }
    return false;
}

bool TimersDiffer(const CSaParameter& a, const CSaParameter& b) {
    for (size_t i = 0; i < a.timers.size(); ++i) {
        const SaTimerEntry& x = a.timers[i];
        const SaTimerEntry& y = b.timers[i];
        if (x.setValue != y.setValue || x.unit != y.unit || x.autoStart != y.autoStart) {
            return true;
        }
    }
    return false;
}

bool CountersDiffer(const CSaParameter& a, const CSaParameter& b) {
    for (size_t i = 0; i < a.counters.size(); ++i) {
        if (a.counters[i].setValue != b.counters[i].setValue ||
            a.counters[i].resetAtStart != b.counters[i].resetAtStart) {
            return true;
        }
    }
    return false;
}

} // namespace

bool DiffersForWrite(const CSaParameter& analyzer, const CSaParameter& pages) {
    return CommunicationFields(analyzer) != CommunicationFields(pages) ||
           analyzer.transmitEntries != pages.transmitEntries || TimersDiffer(analyzer, pages) ||
           analyzer.triggers != pages.triggers || CountersDiffer(analyzer, pages) ||
           DisplayFields(analyzer) != DisplayFields(pages) || DelimitersDiffer(analyzer, pages);
}

} // namespace varnolt
