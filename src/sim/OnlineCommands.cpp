#include "core/settings/HexText.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/MeasurementEngine.h"

#include <string>

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

// "PSW0A" starts a measurement, "PSW0B" stops it; any other run state is only kept.
Answers SetRunState(AnalyzerFirmware& state, const Request& request) {
    if (request.parameters.size() < 2) {
        return {Nak()};
    }
    state.runState = ParseHexPair(request.parameters[0], request.parameters[1]);
    MeasurementEngine& measurement = *state.measurement;
    if (state.runState == 10) {
        measurement.Start(state.settings.decoded(false), state.now);
    } else if (state.runState == 11) {
        measurement.Stop(state.now);
        state.storedAmount = measurement.storedAmount();
    }
    return {Ack()};
}

// Registers a request without parameters that ANSWER serves.
template <typename Answer>
void AddDataCommand(AnalyzerFirmware& firmware, std::string_view command, Answer answer) {
    firmware.AddCommand(command, RequestChecksum::Without,
                        [answer](AnalyzerFirmware& state, const Request&) {
                            return Answers{answer(*state.measurement, state)};
                        });
}

} // namespace

// The requests of a measurement: run state, live blocks, status, and the stored data.
void AddMeasurementCommands(AnalyzerFirmware& firmware) {
    firmware.measurement = std::make_shared<MeasurementEngine>();
    firmware.measurement->countInto(&firmware.counters);
    firmware.AddCommand("PSW", RequestChecksum::With, SetRunState);
    AddDataCommand(firmware, "BS", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.FirstBlock(state.now, state);
    });
    AddDataCommand(firmware, "BN", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.NextBlock(state.now, state);
    });
    AddDataCommand(firmware, "BR", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.RepeatBlock(state.now, state);
    });
    AddDataCommand(firmware, "BL", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.Status(state.now, state);
    });
    AddDataCommand(firmware, "BA", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.StoredFirst(state);
    });
    AddDataCommand(firmware, "BB", [](MeasurementEngine& engine, const AnalyzerFirmware& state) {
        return engine.StoredNext(state);
    });
}

} // namespace varnolt::sim
