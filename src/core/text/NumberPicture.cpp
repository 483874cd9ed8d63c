#include "core/text/NumberPicture.h"

#include "core/text/ShiftJis.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ormavex {

namespace {

bool IsPlaceholder(char c) noexcept { return c == '#' || c == '0' || c == ',' || c == '.'; }

struct Picture {
    std::string prefix;
    std::string suffix;
    int minIntDigits = 0;
    bool grouping = false;
    bool hasPoint = false;
    int zeroDecimals = 0; // "0" after the point: always shown
    int decimals = 0;     // all placeholders after the point
};

Picture ParsePicture(std::string_view pic) {
    Picture p;
    enum class State { Before, Number, After } state = State::Before;
    std::size_t i = 0;
    while (i < pic.size()) {
        char c = pic[i];
        if (c == '\\' && i + 1 < pic.size()) {
            std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(pic[i + 1]));
            std::string lit(pic.substr(i + 1, n));
            if (state == State::Number) {
                state = State::After;
            }
            (state == State::Before ? p.prefix : p.suffix) += lit;
            i += 1 + n;
            continue;
        }
        if (state != State::After && IsPlaceholder(c)) {
            state = State::Number;
            if (c == '.') {
                p.hasPoint = true;
            } else if (p.hasPoint) {
                if (c == '0' || c == '#') {
                    ++p.decimals;
                    if (c == '0') {
                        p.zeroDecimals = p.decimals;
                    }
                }
            } else if (c == ',') {
                p.grouping = true;
            } else if (c == '0') {
                ++p.minIntDigits;
            }
            ++i;
            continue;
        }
        if (state == State::Number) {
            state = State::After;
        }
        std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(c));
        (state == State::Before ? p.prefix : p.suffix) += std::string(pic.substr(i, n));
        i += n;
    }
    return p;
}

// Decimal digits of |value| rounded half away from zero to `decimals` places,
// starting from its 15-significant-digit form. Returns integer and fraction
// digit strings (integer without leading zeros, possibly empty).
void RoundDecimal(double value, int decimals, std::string& intPart, std::string& fracPart) {
    intPart.clear();
    fracPart.assign(static_cast<std::size_t>(decimals), '0');
    double a = std::fabs(value);
    if (a == 0.0) {
        return;
    }
    std::uint64_t units = 0;
    if (RoundToUnits(a, decimals, units)) {
        for (int i = decimals - 1; i >= 0; --i) {
            fracPart[static_cast<std::size_t>(i)] = static_cast<char>('0' + units % 10);
            units /= 10;
        }
        if (units != 0) {
            intPart = std::to_string(units);
        }
        return;
    }
    std::uint64_t d15 = 0;
    int exp10 = 0;
    SignificantDigits15(a, d15, exp10);
    std::string digits = std::to_string(d15);
    // value = 0.digits * 10^(exp10 + 1); point position after `pointPos` digits
    int pointPos = exp10 + 1;
    int keep = pointPos + decimals; // digits kept
    std::string kept;
    bool roundUp = false;
    if (keep < 0) {
        kept = "";
    } else if (keep >= static_cast<int>(digits.size())) {
        kept = digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
    } else {
        kept = digits.substr(0, static_cast<std::size_t>(keep));
        roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
    }
    if (roundUp) {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<std::size_t>(k)] == '9') {
            kept[static_cast<std::size_t>(k)] = '0';
            --k;
        }
        if (k >= 0) {
            ++kept[static_cast<std::size_t>(k)];
        } else {
            kept.insert(kept.begin(), '1');
            ++pointPos;
            ++keep;
        }
    }
    // kept holds the digits from 10^(pointPos-1) down to 10^(-decimals).
    // Left-pad to cover at least the decimals.
    if (static_cast<int>(kept.size()) < decimals) {
        kept.insert(0, static_cast<std::size_t>(decimals) - kept.size(), '0');
    }
    std::size_t intLen = kept.size() - static_cast<std::size_t>(decimals);
    intPart = kept.substr(0, intLen);
    fracPart = kept.substr(intLen);
    std::size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

std::string Group(const std::string& digits) {
    std::string out;
    std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[i];
        std::size_t left = n - i - 1;
        if (left > 0 && left % 3 == 0) {
            out += ',';
        }
    }
    return out;
}

// Powers of ten up to 10^19, the largest below 2^64.
constexpr auto kPow10 = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) {
        p[i] = p[i - 1] * 10;
    }
    return p;
}();

} // namespace

void SignificantDigits15(double a, std::uint64_t& digits, int& exp10) {
    // Exact integer arithmetic for the numbers of a report (2^-18 <= a <
    // 2^50): a = m / 2^shift, and d = m x 10^k / 2^shift rounded is the
    // digit string when it has 15 digits.
    __extension__ typedef unsigned __int128 U128;
    // a = m x 2^(e2 - 53) with m of 53 bits: the fields of the double.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const int e2 = biased - 1022; // a = f x 2^e2, 0.5 <= f < 1
    if (biased != 0 && e2 >= -17 && e2 <= 50) {
        const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
        const int shift = 53 - e2; // 3 <= shift <= 70
        // log10(2) < 0.30103: a first guess, at most one off.
        int e10 = ((e2 - 1) * 78913) >> 18; // floor((e2 - 1) x log10(2))
        for (int attempt = 0; attempt < 4; ++attempt) {
            const int k = 14 - e10;
            if (k < 0 || k > 19) {
                break;
            }
            const U128 num = static_cast<U128>(m) * kPow10[k];
            U128 q = num >> shift;
            if (q >= kPow10[15]) {
                ++e10;
                continue;
            }
            if (q < kPow10[14]) {
                --e10;
                continue;
            }
            const U128 rem = num - (q << shift);
            const U128 half = static_cast<U128>(1) << (shift - 1);
            if (rem > half || (rem == half && (q & 1U) != 0U)) {
                ++q;
            }
            if (q == kPow10[15]) {
                q = kPow10[14];
                ++e10;
            }
            digits = static_cast<std::uint64_t>(q);
            exp10 = e10;
            return;
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", a);
    // buf: d.dddddddddddddde[+-]XX
    std::uint64_t d = static_cast<std::uint64_t>(buf[0] - '0');
    for (int i = 2; i < 16; ++i) {
        d = d * 10 + static_cast<std::uint64_t>(buf[i] - '0');
    }
    digits = d;
    exp10 = std::atoi(buf + 17);
}

namespace {

// The commonest case first: 1e-3 <= a < 1e9. The rule rounds a to 15
// significant digits and that half away from zero to the decimals; the result
// is the same as rounding a itself half away from zero whenever the exact
// a x 10^decimals lies further than half a unit of the 15th digit from a
// half-way point, which is checked here in exact integer arithmetic.
bool RoundDirect(double a, int decimals, std::uint64_t& units) {
    __extension__ typedef unsigned __int128 U128;
    if (!(a >= 1e-3 && a < 1e9)) {
        return false;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int e2 = static_cast<int>((bits >> 52) & 0x7FF) - 1022; // a < 2^e2
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 53 - e2; // a = m / 2^shift, 23 <= shift <= 62
    // The 15th digit's unit is 10^(e10 - 14) with e10 = floor(log10(a)) <=
    // floor(e2 x log10(2)); in units of 10^-decimals it is at least 10^-t.
    const int t = 14 - ((e2 * 78913) >> 18) - decimals;
    if (t < 0 || t > 18) {
        return false;
    }
    const U128 y = static_cast<U128>(m) * kPow10[decimals]; // a x 10^decimals x 2^shift
    const auto q = static_cast<std::uint64_t>(y >> shift);
    const auto rem = static_cast<std::uint64_t>(y & ((static_cast<U128>(1) << shift) - 1));
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t gap = rem > half ? rem - half : half - rem;
    // gap / 2^shift > 10^-t / 2, that is 2 x gap x 10^t > 2^shift
    if (static_cast<U128>(gap) * (2 * kPow10[t]) <= (static_cast<U128>(1) << shift)) {
        return false;
    }
    units = q + (rem > half ? 1 : 0);
    return true;
}

} // namespace

bool RoundToUnits(double a, int decimals, std::uint64_t& units) {
    if (decimals < 0 || decimals > 6 || !(a == 0.0 || (a >= 1e-5 && a < 1e9))) {
        return false;
    }
    units = 0;
    if (a == 0.0 || RoundDirect(a, decimals, units)) {
        return true;
    }
    // Step by step: the 15 significant digits, then half away from zero on
    // the first digit dropped.
    std::uint64_t d = 0;
    int exp10 = 0;
    SignificantDigits15(a, d, exp10);
    const int keep = exp10 + 1 + decimals;
    if (keep >= 15) {
        units = d * kPow10[keep - 15];
    } else if (keep >= 0) {
        units = d / kPow10[15 - keep];
        if ((d / kPow10[14 - keep]) % 10 >= 5) {
            ++units;
        }
    }
    return true;
}

std::string FormatNumber(double value, std::string_view picture) {
    Picture p = ParsePicture(picture);
    if (!std::isfinite(value)) {
        // Never written into a file: callers check for finite values first.
        return p.prefix +
               (std::isnan(value) ? "NaN"
                : value > 0       ? "Infinity"
                                  : "-Infinity") +
               p.suffix;
    }
    std::string intPart;
    std::string fracPart;
    RoundDecimal(value, p.decimals, intPart, fracPart);
    // Optional decimals ("#" after the point) drop trailing zeros.
    while (static_cast<int>(fracPart.size()) > p.zeroDecimals && !fracPart.empty() &&
           fracPart.back() == '0') {
        fracPart.pop_back();
    }
    bool isZero = intPart.empty() && fracPart.find_first_not_of('0') == std::string::npos;
    if (static_cast<int>(intPart.size()) < p.minIntDigits) {
        intPart.insert(0, static_cast<std::size_t>(p.minIntDigits) - intPart.size(), '0');
    }
    std::string number = p.grouping ? Group(intPart) : intPart;
    if (p.hasPoint) {
        number += '.';
        number += fracPart;
    }
    std::string out;
    if (value < 0 && !isZero) {
        out += '-';
    }
    out += p.prefix;
    out += number;
    out += p.suffix;
    return out;
}

std::string ListPrintNumber(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return " 0 ";
    }
    // 15 significant digits in the shortest of the fixed and exponent forms,
    // as printf's "%.15g" writes them (to_chars with a precision is defined
    // as printf), without printf's arbitrary-precision path.
    char buf[64];
    const char* end =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15).ptr;
    std::string_view digits(buf, static_cast<std::size_t>(end - buf));
    std::string s;
    s.reserve(digits.size() + 4);
    if (value > 0) {
        s += ' ';
    }
    // No zero before the decimal point: 0.5 -> .5, -0.25 -> -.25
    if (digits.starts_with("-0.")) {
        s += '-';
        digits.remove_prefix(2);
    } else if (digits.starts_with("0.")) {
        digits.remove_prefix(1);
    }
    // Exponent in the list-print form: "1E-05", "1.5E+20".
    if (const std::size_t e = digits.find('e'); e != std::string_view::npos) {
        s.append(digits.substr(0, e));
        s += 'E';
        s += digits[e + 1];
        const std::string_view ex = digits.substr(e + 2);
        if (ex.size() < 2) {
            s += '0';
        }
        s.append(ex);
    } else {
        s.append(digits);
    }
    s += ' ';
    return s;
}

std::string ListPrintLine(const std::vector<double>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            std::size_t col = line.size() + 1; // next free column, from 1
            std::size_t next = ((col - 1) / 14 + 1) * 14 + 1;
            if ((col - 1) % 14 == 0) {
                next = col;
            }
            line.append(next - col, ' ');
        }
        line += ListPrintNumber(values[i]);
    }
    return line;
}

} // namespace ormavex
