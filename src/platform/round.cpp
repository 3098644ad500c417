// Rounding of computed coordinates and shown percentages.
#include "platform/round.h"

#include <cfenv>
#include <climits>
#include <cmath>

namespace platform {

int Round(double value) {
    // nearbyint rounds in the current mode, which is to-nearest-even unless someone changed it.
    const double rounded = std::nearbyint(value);
    if (std::isnan(rounded)) return 0;
    if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(rounded);
}

}  // namespace platform
