#pragma once

// Rounds to the nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4), the
// way the stored options and the dialogs' number conversions have always rounded.
double RoundHalfEven(double value);
