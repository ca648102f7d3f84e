#pragma once

#include "chipio.h"

// The worked example's inputs for one chip: RHi on "Ref Inp", RLo on "0V", signal slider 500 of
// 5 V, +V 15 V, LED supply 15 V, bar mode. Shared by the tests and the benchmark.
inline kestrelon::ChipInputs exampleChip() {
    kestrelon::ChipInputs c;
    c.txtLED = QStringLiteral("15");
    c.Text1 = QStringLiteral("15");
    c.txtVin = QStringLiteral("5");
    c.txtRLo = QStringLiteral("1");
    c.txtRHi = QStringLiteral("5");
    c.vsVin = 500;
    c.vsRLo = 500;
    c.vsRHi = 500;
    c.optRLo = {true, false};
    c.optRHi = {true, false};
    c.optMode = {true, false};
    return c;
}
