// Number to text: pattern formatting of the read-outs and the plain forms of stored settings.
#include "conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kestrelon {

namespace {

struct PatternShape {
    std::string_view fraction; // the placeholders after the point
    std::string_view literal;  // text after the last placeholder
    bool hasPoint = false;
};

PatternShape splitPattern(std::string_view pattern) {
    PatternShape shape;
    std::size_t i = 0;
    while (i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'))
        ++i;
    if (i < pattern.size() && pattern[i] == '.') {
        shape.hasPoint = true;
        const std::size_t start = ++i;
        while (i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'))
            ++i;
        shape.fraction = pattern.substr(start, i - start);
    }
    shape.literal = pattern.substr(i);
    return shape;
}

// The value's decimal form rounded to 15 significant digits, and its decimal exponent.
// The shortest round-trip form is cheap and, unless it ends in an exact tie at the 16th digit,
// rounds to the same 15 digits as the exact binary value does.
int fifteenDigits(double magnitude, std::array<char, 15>& sig) {
    // "d.ddde+XX" (or "de-XX"): the digits, then the exponent, read by hand for speed.
    std::array<char, 40> sci;
    const auto res = std::to_chars(sci.data(), sci.data() + sci.size(), magnitude,
                                   std::chars_format::scientific);
    std::array<char, 17> all;
    std::size_t n = 0;
    const char* p = sci.data();
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            all[n++] = *p;
    ++p; // 'e'
    const bool negative = *p == '-';
    int exponent = 0;
    for (++p; p < res.ptr; ++p)
        exponent = exponent * 10 + (*p - '0');
    if (negative)
        exponent = -exponent;

    std::fill(sig.begin(), sig.end(), '0');
    std::copy_n(all.data(), std::min<std::size_t>(n, 15), sig.data());
    if (n <= 15)
        return exponent;
    if (all[15] == '5' && (n == 16 || all[16] == '0')) {
        // A tie in the short form may hide which way the exact value lies: ask for 15 exact
        // digits instead.
        const auto r = std::to_chars(sci.data(), sci.data() + sci.size(), magnitude,
                                     std::chars_format::scientific, 14);
        sig[0] = sci[0];
        std::copy_n(sci.data() + 2, 14, sig.data() + 1);
        const char* x = sci.data() + 17;
        int exact = 0;
        std::from_chars(x + (x[0] == '+' ? 1 : 0), r.ptr, exact);
        return exact;
    }
    if (all[15] >= '5') {
        int i = 14;
        while (i >= 0 && sig[static_cast<std::size_t>(i)] == '9')
            sig[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++sig[static_cast<std::size_t>(i)];
        } else {
            sig[0] = '1';
            ++exponent;
        }
    }
    return exponent;
}

constexpr std::size_t kFormatBuffer = 420;
constexpr std::size_t kAffixLimit = 64;

// Writes the formatted finite value into out (kFormatBuffer bytes) and returns its length.
std::size_t formatTo(double value, std::string_view pattern, char* out) {
    const PatternShape shape = splitPattern(pattern);
    // Callers use at most two decimals; the cap keeps the buffers below safe for any pattern.
    const int decimals = std::min(static_cast<int>(shape.fraction.size()), 20);

    // 15 significant digits first; all later rounding works on these decimal digits.
    const double magnitude = std::fabs(value);
    std::array<char, 15> sig;
    int exponent = 0;
    if (magnitude != 0.0)
        exponent = fifteenDigits(magnitude, sig);
    else
        sig.fill('0');

    // The digits down to 10^-decimals (kept of them), after a spare slot for a carry.
    const int kept = std::max(exponent + 1 + decimals, 0);
    std::array<char, 360> digits;
    digits[0] = '0';
    for (int i = 0; i < kept; ++i)
        digits[static_cast<std::size_t>(i) + 1] = i < 15 ? sig[static_cast<std::size_t>(i)] : '0';
    const int roundIndex = exponent + 1 + decimals;
    if (roundIndex >= 0 && roundIndex < 15 && sig[static_cast<std::size_t>(roundIndex)] >= '5') {
        int i = kept;
        while (digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        ++digits[static_cast<std::size_t>(i)]; // the spare slot stops the carry at worst
    }
    // digits[0 .. kept] now spell the rounded value times 10^decimals.
    const char* first = digits.data();
    const char* const end = digits.data() + kept + 1;
    while (first < end && *first == '0')
        ++first;
    const auto significant = static_cast<int>(end - first); // 0 when everything rounded away

    std::size_t n = 0;
    // A value that rounds to zero is shown without a sign: "-0.00" would only confuse.
    if (value < 0 && significant > 0)
        out[n++] = '-';
    const int integerDigits = significant - decimals;
    if (integerDigits > 0) {
        for (int i = 0; i < integerDigits; ++i)
            out[n++] = first[i];
    } else {
        out[n++] = '0';
    }
    if (shape.hasPoint) {
        out[n++] = '.';
        // Fraction digit i (0-based) is digit (integerDigits + i) of the significant ones.
        int length = decimals;
        const auto fractionDigit = [&](int i) {
            const int at = integerDigits + i;
            return at < 0 ? '0' : first[at];
        };
        while (length > 0 && shape.fraction[static_cast<std::size_t>(length) - 1] == '#' &&
               fractionDigit(length - 1) == '0')
            --length;
        for (int i = 0; i < length; ++i)
            out[n++] = fractionDigit(i);
    }
    for (const char c : shape.literal.substr(0, kFormatBuffer - n))
        out[n++] = c;
    return n;
}

} // namespace

QString Format(double value, std::string_view pattern) {
    if (!std::isfinite(value))
        return QString::fromLatin1(kOverflowText);
    std::array<char, kFormatBuffer> out;
    return QString::fromLatin1(out.data(),
                               static_cast<qsizetype>(formatTo(value, pattern, out.data())));
}

namespace {

// prefix + the formatted value + suffix, or prefix + kOverflowText, into out; returns the length.
std::size_t composeWithUnit(std::string_view prefix, double value, std::string_view pattern,
                            std::string_view suffix, char* out) {
    prefix = prefix.substr(0, kAffixLimit);
    suffix = suffix.substr(0, kAffixLimit);
    std::size_t n = prefix.copy(out, prefix.size());
    if (!std::isfinite(value)) {
        n += std::string_view(kOverflowText).copy(out + n, sizeof(kOverflowText));
    } else {
        n += formatTo(value, pattern, out + n);
        n += suffix.copy(out + n, suffix.size());
    }
    return n;
}

constexpr std::size_t kComposeBuffer = kFormatBuffer + 2 * kAffixLimit;

} // namespace

QString formatWithUnit(std::string_view prefix, double value, std::string_view pattern,
                       std::string_view suffix) {
    std::array<char, kComposeBuffer> out;
    const std::size_t n = composeWithUnit(prefix, value, pattern, suffix, out.data());
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(n));
}

void formatInto(QString& target, std::string_view prefix, double value, std::string_view pattern,
                std::string_view suffix) {
    std::array<char, kComposeBuffer> out;
    const std::size_t n = composeWithUnit(prefix, value, pattern, suffix, out.data());
    const QLatin1StringView text(out.data(), static_cast<qsizetype>(n));
    if (target != text)
        target = text;
}

QString integerToText(std::int32_t value) {
    std::array<char, 16> buf;
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return QString::fromLatin1(buf.data(), res.ptr - buf.data());
}

QString singleToText(float value) {
    if (!std::isfinite(value))
        return QString::fromLatin1(kOverflowText);
    if (value == 0.0f)
        return QStringLiteral("0");
    std::array<char, 32> sci;
    const auto res = std::to_chars(sci.data(), sci.data() + sci.size(), static_cast<double>(value),
                                   std::chars_format::scientific, 6);
    const bool negative = sci[0] == '-';
    const char* m = sci.data() + (negative ? 1 : 0); // "d.dddddde+XX"
    std::string mantissa;
    mantissa.push_back(m[0]);
    mantissa.append(m + 2, 6);
    int exponent = 0;
    const char* e = m + 9;
    std::from_chars(e + (e[0] == '+' ? 1 : 0), res.ptr, exponent);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -4 || exponent >= 7) {
        out += mantissa.substr(0, 1);
        if (mantissa.size() > 1)
            out += '.' + mantissa.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        const int absExp = std::abs(exponent);
        if (absExp < 10)
            out += '0';
        out += std::to_string(absExp);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += mantissa;
    } else {
        const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= intLen) {
            out += mantissa;
            out.append(intLen - mantissa.size(), '0');
        } else {
            out += mantissa.substr(0, intLen) + '.' + mantissa.substr(intLen);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString truthToText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace kestrelon
