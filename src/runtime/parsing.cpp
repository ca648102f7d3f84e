// Text to number: the lenient parse of typed inputs and the strict conversions of stored
// settings.
#include "conversions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kestrelon {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Converts a validated decimal text ([-]digits[.digits][e[-]digits]) to the nearest double.
// from_chars reports out-of-range without a value, so the direction is worked out here.
double decimalToDouble(std::string_view text, long long decimalMagnitude) {
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        const bool negative = !text.empty() && text.front() == '-';
        value = decimalMagnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return negative ? -value : value;
    }
    return value;
}

// Characters of a text, optionally passing over blanks (the lenient parse ignores them).
class Cursor {
public:
    Cursor(QStringView text, bool skipBlanks) : m_text(text), m_skip(skipBlanks) { settle(); }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : m_text[m_pos].unicode(); }
    void next() {
        ++m_pos;
        settle();
    }
    qsizetype position() const { return m_pos; }
    void reset(qsizetype pos) { m_pos = pos; }

private:
    void settle() {
        while (m_skip && m_pos < m_text.size()) {
            const char16_t c = m_text[m_pos].unicode();
            if (c != u' ' && c != u'\t' && c != u'\n')
                break;
            ++m_pos;
        }
    }
    QStringView m_text;
    qsizetype m_pos = 0;
    bool m_skip;
};

// Digits collected for from_chars: short numbers stay on the stack.
class NumberText {
public:
    void push(char c) {
        if (m_size < m_small.size())
            m_small[m_size] = c;
        else {
            if (m_large.empty())
                m_large.assign(m_small.data(), m_small.size());
            m_large.push_back(c);
        }
        ++m_size;
    }
    std::string_view view() const {
        return m_size <= m_small.size() ? std::string_view(m_small.data(), m_size)
                                        : std::string_view(m_large);
    }

private:
    std::array<char, 64> m_small{};
    std::string m_large;
    std::size_t m_size = 0;
};

// Reads "&H..." / "&O..." digits; values up to 16 and 32 bits wrap to two's complement as
// the hand-written settings of older tools expect.
double parseRadix(Cursor& in, int radix) {
    std::uint64_t exact = 0;
    double approx = 0.0;
    bool big = false;
    for (; !in.atEnd(); in.next()) {
        const int d = hexValue(in.peek());
        if (d < 0 || d >= radix)
            break;
        if (!big && exact > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
            big = true;
            approx = static_cast<double>(exact);
        }
        if (big)
            approx = approx * radix + d;
        else
            exact = exact * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    }
    if (big)
        return approx; // may become +inf for absurdly long digit runs
    if (exact <= 0xFFFFu)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(exact));
    if (exact <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(exact));
    return static_cast<double>(exact);
}

struct DecimalShape {
    double value = 0.0;
    bool hasDigits = false;
};

// Scans sign, digits with at most one point, and an exponent that counts only when complete.
DecimalShape scanDecimal(Cursor& in, bool allowDExponent) {
    DecimalShape out;
    NumberText text;
    if (in.peek() == u'+' || in.peek() == u'-') {
        if (in.peek() == u'-')
            text.push('-');
        in.next();
    }
    bool seenPoint = false;
    bool seenNonZero = false;
    long long intDigits = 0;    // significant digits before the point
    long long leadingZeros = 0; // zeros after the point before the first significant digit
    for (; !in.atEnd(); in.next()) {
        const char16_t c = in.peek();
        if (isDigit(c)) {
            out.hasDigits = true;
            if (c != u'0')
                seenNonZero = true;
            if (!seenPoint && seenNonZero)
                ++intDigits;
            if (seenPoint && !seenNonZero)
                ++leadingZeros;
            text.push(static_cast<char>(c));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            text.push('.');
        } else {
            break;
        }
    }
    if (!out.hasDigits)
        return out;
    long long magnitude = intDigits > 0 ? intDigits : -leadingZeros;
    const char16_t c = in.peek();
    if (c == u'e' || c == u'E' || (allowDExponent && (c == u'd' || c == u'D'))) {
        const qsizetype letterAt = in.position();
        in.next();
        bool negative = false;
        if (in.peek() == u'+' || in.peek() == u'-') {
            negative = in.peek() == u'-';
            in.next();
        }
        if (isDigit(in.peek())) {
            text.push('e');
            if (negative)
                text.push('-');
            long long exponent = 0;
            for (; isDigit(in.peek()); in.next()) {
                if (exponent < 1'000'000'000LL)
                    exponent = exponent * 10 + (in.peek() - u'0');
                text.push(static_cast<char>(in.peek()));
            }
            magnitude += negative ? -exponent : exponent;
        } else {
            in.reset(letterAt); // an incomplete exponent is not part of the number
        }
    }
    out.value = decimalToDouble(text.view(), magnitude);
    return out;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// The strict number shape used by the settings conversions: the whole text must be a number,
// with blanks allowed only around it.
std::optional<double> strictNumber(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first].unicode()))
        ++first;
    while (last > first && isBlank(text[last - 1].unicode()))
        --last;
    const QStringView number = text.sliced(first, last - first);
    Cursor in(number, false);
    const DecimalShape shape = scanDecimal(in, false);
    if (!shape.hasDigits || !in.atEnd())
        return std::nullopt;
    return shape.value;
}

std::optional<double> roundHalfEven(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

} // namespace

double parse(QStringView text) {
    // Blanks may stand anywhere, even inside a number, and are passed over while reading.
    Cursor in(text, true);
    if (in.peek() == u'&') {
        const qsizetype ampersand = in.position();
        in.next();
        const char16_t kind = in.peek();
        in.next();
        if (kind == u'h' || kind == u'H')
            return parseRadix(in, 16);
        if (kind == u'o' || kind == u'O')
            return parseRadix(in, 8);
        in.reset(ampersand);
    }
    const DecimalShape shape = scanDecimal(in, true);
    return shape.hasDigits ? shape.value : 0.0;
}

std::optional<std::int16_t> roundToInt16(double value) {
    const auto rounded = roundHalfEven(value);
    if (!rounded || *rounded < -32768.0 || *rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(*rounded);
}

std::optional<std::int16_t> roundToInt16(QStringView text) {
    const auto number = strictNumber(text);
    if (!number)
        return std::nullopt;
    return roundToInt16(*number);
}

std::optional<bool> textToTruth(QStringView text) {
    const QStringView word = text.trimmed();
    if (word.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    const auto number = strictNumber(text);
    if (!number || std::isnan(*number))
        return std::nullopt;
    return *number != 0.0;
}

} // namespace kestrelon
