#pragma once
// The messages that decoders must read back from standard keying.

#include <QString>

namespace tonara::test {

inline const QString kParisText = "PARIS PARIS TEST 73";
// 200 characters: letters, figures and . , ? / in words of all lengths.
inline const QString kLongText =
    "CQ CQ DE PA3XYZ PA3XYZ K. RST 599 599, QTH AMSTERDAM/UTRECHT? NAME JAN. RIG 100W, ANT DIPOLE 20M. "
    "WX SUNNY 18C? 73 ES GUD DX/QRZ 1234567890 THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG. VY 73, SK 73 EE";

} // namespace tonara::test
