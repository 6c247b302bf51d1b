#pragma once

#include <functional>
#include <optional>
#include <utility>

namespace harborlite::platform {

// One value the engine asks the machine for (home folder, clock, user id, roots).
// The real provider answers unless a test has installed an Override, which holds
// until it goes out of scope. Overrides are installed before any worker starts.
template <typename T>
class Seam {
public:
    explicit Seam(std::function<T()> real)
        : real_(std::move(real))
    {
    }

    T get() const { return override_ ? *override_ : real_(); }
    bool isOverridden() const { return override_.has_value(); }

    class Override {
    public:
        Override(Seam& seam, T value)
            : seam_(seam)
            , previous_(std::exchange(seam.override_, std::move(value)))
        {
        }
        ~Override() { seam_.override_ = std::move(previous_); }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        Seam& seam_;
        std::optional<T> previous_;
    };

private:
    std::function<T()> real_;
    std::optional<T> override_;
};

} // namespace harborlite::platform
