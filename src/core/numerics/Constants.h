#pragma once

namespace tolvex {

// The program's value of pi. The published type curves and the document files were computed with
// this eight-digit value; only Moench's unconfined solution uses the full double-precision value.
inline constexpr double kProgramPi = 3.1415926;
inline constexpr double kFullPi = 3.141592653589793;

}  // namespace tolvex
