#include "FixedNumber.h"

#include "text/NumberPicture.h"

#include <cassert>
#include <cmath>
#include <cstdint>

namespace ormavex {

namespace {

// Appends `units` x 10^-decimals: "-" when negative and not 0, at least one
// digit before the point, the decimals after it.
void AppendUnits(std::string& out, bool negative, std::uint64_t units, int decimals) {
    if (negative && units != 0) {
        out += '-';
    }
    char buf[32];
    char* end = buf + sizeof buf;
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) {
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    out.append(p, static_cast<std::size_t>(end - p));
}

} // namespace

void AppendFixedNumber(std::string& out, double value, int decimals) {
    assert(std::isfinite(value) && decimals >= 0 && decimals <= 15);
    std::uint64_t units = 0;
    if (RoundToUnits(std::fabs(value), decimals, units)) {
        AppendUnits(out, value < 0.0, units, decimals);
        return;
    }
    // Below 1e-5 or from 1e9 on (rare in a drawing): the picture formatter.
    out += FormatNumber(value, decimals > 0 ? "###0." + std::string(decimals, '0') : "###0");
}

} // namespace ormavex
