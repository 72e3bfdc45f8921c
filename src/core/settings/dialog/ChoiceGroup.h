#pragma once

#include <array>
#include <cstddef>

namespace varnolt {

// A group of radio buttons, or a drop-down list, that stands for one stored value: choice i
// stands for VALUES[i]. A stored value outside the list (a remote read does not normalize)
// shows no choice and is kept as it is until the user makes one, so that neither a wrong choice
// is shown nor a wrong value written back.
template <typename T, size_t N>
class ChoiceGroup {
public:
    static constexpr int kNone = -1;

    constexpr explicit ChoiceGroup(const std::array<T, N>& values) : values_(values) {}

    void load(T stored) {
        stored_ = stored;
        choice_ = indexOf(stored);
    }
    // The shown choice, or kNone.
    [[nodiscard]] int choice() const { return choice_; }
    // The user's choice; an index outside the list is ignored.
    void choose(int index) {
        if (index >= 0 && index < static_cast<int>(N)) {
            choice_ = index;
        }
    }
    [[nodiscard]] bool chosen() const { return choice_ != kNone; }
    // The value the group stands for: the chosen one, or the stored one when none is shown.
    [[nodiscard]] T value() const {
        return choice_ == kNone ? stored_ : values_[static_cast<size_t>(choice_)];
    }
    [[nodiscard]] int indexOf(T value) const {
        for (size_t i = 0; i < N; ++i) {
            if (values_[i] == value) {
                return static_cast<int>(i);
            }
        }
        return kNone;
    }
    [[nodiscard]] static constexpr size_t size() { return N; }

private:
    std::array<T, N> values_;
    T stored_{};
    int choice_ = kNone;
};

} // namespace varnolt
