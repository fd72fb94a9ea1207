// The two decimal digits of each value 0 to 99, written from one table instead of a division
// per digit.
#ifndef KAVEX_VALUES_DIGITPAIRS_H
#define KAVEX_VALUES_DIGITPAIRS_H

#include <cstring>

namespace kavex {

// Writes `value` (below 100) as two digits at `p`; returns the end.
inline char* putTwoDigits(char* p, unsigned int value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324"
        "25262728293031323334353637383940414243444546474849"
        "50515253545556575859606162636465666768697071727374"
        "75767778798081828384858687888990919293949596979899";
    std::memcpy(p, kPairs + 2 * value, 2);
    return p + 2;
}

}  // namespace kavex

#endif
