#pragma once

namespace varnolt {

// "Process pending window messages": long loops call it between their steps so that the
// window repaints and Cancel works. The UI passes the event loop; tests pass a function that
// advances the simulator and the manual clock.
class Pump {
public:
    Pump() = default;
    Pump(const Pump&) = delete;
    Pump& operator=(const Pump&) = delete;
    virtual ~Pump() = default;

    virtual void pump() = 0;
};

// A pump for headless programs that have no window to keep alive.
class NoPump final : public Pump {
public:
    void pump() override {}
};

} // namespace varnolt
