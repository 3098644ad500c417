// Rounding of computed coordinates and shown percentages: to the nearest integer, halves to even.
#pragma once

namespace platform {

// 2.5 gives 2, 3.5 gives 4, 12.5 gives 12, -2.5 gives -2.
int Round(double value);

}  // namespace platform
