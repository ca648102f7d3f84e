#include "iniformat.h"

#include <QtEndian>

#include <algorithm>

namespace kestrelon::ini {

namespace {

constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

bool isBreak(char c) {
    return c == '\n' || c == '\r';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if ((c | 0x20) >= u'a' && (c | 0x20) <= u'f')
        return (c | 0x20) - u'a' + 10;
    return -1;
}

qsizetype skipBlanks(QByteArrayView data, qsizetype pos) {
    while (pos < data.size() && isBlank(data[pos]))
        ++pos;
    return pos;
}

// Just past the line break that ends the physical line at pos, a trailing comment included.
qsizetype pastLineBreak(QByteArrayView data, qsizetype pos) {
    while (pos < data.size() && !isBreak(data[pos]))
        ++pos;
    return pos + (data.sliced(pos).startsWith("\r\n") ? 2 : pos < data.size() ? 1 : 0);
}

// A logical line: from its first byte that is neither blank nor line break to the unquoted line
// break or ';' that ends it.
struct LogicalLine {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype equals = -1;          // the first '=' outside quotes
    bool openQuote = false;         // the data ended inside quotes
    bool danglingEscape = false;    // the data ended in a backslash
    bool escapedFinalBreak = false; // the data ended in an escaped line break
};

// Splits off the logical line that follows pos. Quotes run across line breaks; a backslash takes
// the byte after it along (an escaped line break, CR LF counting as one, joins the next physical
// line); a line that starts with ';', and the rest of a line after an unquoted ';', is a comment.
bool nextLine(QByteArrayView data, qsizetype& pos, LogicalLine& line) {
    const qsizetype size = data.size();
    for (;;) { // blank lines and comment lines
        while (pos < size && (isBlank(data[pos]) || isBreak(data[pos])))
            ++pos;
        if (pos == size || data[pos] != ';')
            break;
        while (pos < size && !isBreak(data[pos]))
            ++pos;
    }
    if (pos == size)
        return false;
    line = {};
    line.begin = pos;
    for (; pos < size; ++pos) {
        const char c = data[pos];
        if (c == '\\') {
            if (++pos == size) {
                line.danglingEscape = true;
                break;
            }
            const char escaped = data[pos];
            if (isBreak(escaped) && pos + 1 < size && isBreak(data[pos + 1]) &&
                data[pos + 1] != escaped)
                ++pos;
            line.escapedFinalBreak = isBreak(escaped) && pos + 1 == size;
        } else if (c == '"') {
            line.openQuote = !line.openQuote;
        } else if (line.openQuote) {
            continue;
        } else if (c == '=' && line.equals < 0) {
            line.equals = pos;
        } else if (isBreak(c) || c == ';') {
            break;
        }
    }
    line.end = pos;
    return true;
}

// UTF-8 to text. Each maximal invalid subsequence (the Unicode recommended practice) becomes one
// U+FFFD, wherever it stands.
void appendUtf8(QString& out, QByteArrayView in) {
    for (qsizetype i = 0; i < in.size();) {
        const auto lead = static_cast<unsigned char>(in[i++]);
        if (lead < 0x80) {
            out += QChar(lead);
            continue;
        }
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t code = lead & (0x3F >> (length - 1));
        // The second byte's range excludes overlong forms, surrogates and values beyond U+10FFFF.
        unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        int taken = 1;
        for (; lead >= 0xC2 && lead <= 0xF4 && taken < length && i < in.size(); ++taken, ++i) {
            const auto next = static_cast<unsigned char>(in[i]);
            if (next < low || next > high)
                break;
            code = (code << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        if (taken == length)
            out += QStringView(QChar::fromUcs4(code));
        else
            out += QChar(QChar::ReplacementCharacter);
    }
}

// The value of `digits` hex digits at the start of text, if they are there.
std::optional<char16_t> hexNumber(QStringView text, int digits) {
    if (text.size() < digits)
        return std::nullopt;
    char16_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = hexDigit(text[i].unicode());
        if (digit < 0)
            return std::nullopt;
        value = char16_t(value * 16 + digit);
    }
    return value;
}

// A key or section name: UTF-8 (invalid bytes replaced as Qt replaces them, so that such a key
// is the one QSettings lists) whose leading U+FEFF is dropped; '\' stands for '/', %XX and
// %UXXXX for a character.
QString keyText(QByteArrayView bytes) {
    const QString decoded = QString::fromUtf8(bytes); // drops one leading U+FEFF
    QString key;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded[i];
        if (c == u'\\') {
            key += u'/';
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < decoded.size() && decoded[i + 1] == u'U';
            const int digits = wide ? 4 : 2;
            const qsizetype from = i + (wide ? 2 : 1);
            if (const auto code = hexNumber(QStringView(decoded).sliced(from), digits)) {
                key += QChar(*code);
                i = from + digits - 1;
                continue;
            }
        }
        key += c;
    }
    return key;
}

// The key prefix of a header: the name up to ']', trimmed; [General] is the top level.
QString sectionPrefix(QByteArrayView afterBracket) {
    const qsizetype close = afterBracket.indexOf(']');
    const QByteArrayView name = (close < 0 ? afterBracket : afterBracket.first(close)).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return {};
    if (name.startsWith('%') && name.sliced(1).compare("general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1)) + u'/';
    return keyText(name) + u'/';
}

Entry makeEntry(QByteArrayView data, const LogicalLine& line, const QString& prefix) {
    const qsizetype valueStart = line.equals + 1;
    qsizetype ownEnd = line.end;
    while (ownEnd > valueStart && isBlank(data[ownEnd - 1]))
        --ownEnd;
    const qsizetype ownStart = ownEnd > valueStart ? skipBlanks(data, valueStart) : valueStart;
    const QByteArrayView key = data.sliced(line.begin, line.equals - line.begin).trimmed();
    return {prefix + keyText(key), valueStart, line.end, ownStart, ownEnd};
}

// What appended text needs in front so that it starts a line of its own.
QByteArray closingFor(QByteArrayView data, const LogicalLine& last, const QByteArray& lineBreak) {
    QByteArray closing;
    if (last.danglingEscape) // takes the first line break as a continuation
        closing += lineBreak;
    if (last.openQuote)
        closing += '"';
    else if (last.escapedFinalBreak) // an escaped CR would take an LF that follows along
        closing += lineBreak;
    if (!closing.isEmpty() || last.escapedFinalBreak || !isBreak(data.back()))
        closing += lineBreak;
    return closing;
}

struct Escape {
    char code;
    char16_t value;
};
// The escapes read; the last two are never written.
constexpr Escape kEscapes[] = {{'a', u'\a'},  {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},
                               {'r', u'\r'},  {'t', u'\t'}, {'v', u'\v'}, {'"', u'"'},
                               {'\\', u'\\'}, {'?', u'?'},  {'\'', u'\''}};
constexpr int kWrittenEscapes = 9;

// Reads the escape whose code stands at raw[i]; returns the position after it. \x takes every hex
// digit and \0..\7 every octal digit that follow, wrapping at 16 bits; an escaped line break
// joins lines; any other escaped character is dropped.
qsizetype readEscape(QByteArrayView raw, qsizetype i, QString& text) {
    const char code = raw[i++];
    const auto letter = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                     [code](const Escape& e) { return e.code == code; });
    if (letter != std::end(kEscapes)) {
        text += QChar(letter->value);
    } else if (code == 'x' || (code >= '0' && code <= '7')) {
        const int base = code == 'x' ? 16 : 8;
        char16_t value = code == 'x' ? 0 : char16_t(code - '0');
        bool any = code != 'x';
        for (int digit; i < raw.size() && (digit = hexDigit(raw[i])) >= 0 && digit < base; ++i) {
            value = char16_t(value * base + digit);
            any = true;
        }
        if (any)
            text += QChar(value);
    } else if (isBreak(code) && i < raw.size() && isBreak(raw[i]) && raw[i] != code) {
        ++i;
    }
    return i;
}

// Blanks around the value are dropped unless quoted or escaped; quotes are removed; a U+FEFF that
// begins the value's first stretch of plain bytes is dropped.
QString unescapedValue(QByteArrayView raw) {
    QString text;
    qsizetype kept = 0; // text before this came from an escape: trailing blanks stop here
    bool inQuotes = false;
    bool quoted = false;
    bool firstPlain = true;
    qsizetype i = skipBlanks(raw, 0);
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '"') {
            quoted = true;
            inQuotes = !inQuotes;
            i = inQuotes ? i + 1 : skipBlanks(raw, i + 1);
        } else if (c == '\\') {
            if (i + 1 < raw.size())
                i = readEscape(raw, i + 1, text);
            else
                i = raw.size();
            kept = text.size();
        } else {
            qsizetype end = i;
            while (end < raw.size() && raw[end] != '"' && raw[end] != '\\')
                ++end;
            QByteArrayView plain = raw.sliced(i, end - i);
            if (firstPlain && plain.startsWith(kBom))
                plain = plain.sliced(kBom.size());
            firstPlain = false;
            appendUtf8(text, plain);
            i = end;
        }
    }
    if (!quoted) {
        while (text.size() > kept && (text.back() == u' ' || text.back() == u'\t'))
            text.chop(1);
    }
    return text;
}

// The string inside "@Variant(...)": a QDataStream of version 4.0 holding a QString, given by
// its type number or by its name. A string cut short reads as empty, as QSettings reads it.
std::optional<QString> variantText(QStringView inside) {
    const QByteArray bytes = inside.toLatin1();
    qsizetype pos = 0;
    const auto number = [&]() -> std::optional<quint32> {
        if (bytes.size() - pos < 4)
            return std::nullopt;
        pos += 4;
        return qFromBigEndian<quint32>(bytes.constData() + pos - 4);
    };
    constexpr quint32 kStringType = 10;
    constexpr quint32 kNamedType = 127;
    const std::optional<quint32> type = number();
    if (type == kNamedType) {
        const std::optional<quint32> length = number();
        if (!length || *length > quint32(bytes.size() - pos))
            return std::nullopt;
        const QByteArrayView name = QByteArrayView(bytes).sliced(pos, *length);
        if (name != "QString" && name != QByteArrayView("QString\0", 8))
            return std::nullopt;
        pos += *length;
    } else if (type != kStringType) {
        return std::nullopt;
    }
    const std::optional<quint32> length = number();
    if (!length || *length % 2 != 0 || *length > quint32(bytes.size() - pos))
        return QString();
    QString text(*length / 2, Qt::Uninitialized);
    qFromBigEndian<char16_t>(bytes.constData() + pos, *length / 2, text.data());
    return text;
}

} // namespace

Document parse(QByteArrayView data, QStringView group) {
    const QString groupPrefix = foldedKey(group) + u'/';
    Document doc;
    doc.sections.emplace_back();
    if (const qsizetype at = std::find_if(data.begin(), data.end(), isBreak) - data.begin();
        at < data.size())
        doc.lineBreak = data.sliced(at, data.sliced(at).startsWith("\r\n") ? 2 : 1).toByteArray();

    qsizetype pos = 0;
    LogicalLine line;
    while (nextLine(data, pos, line)) {
        QByteArrayView text = data.sliced(line.begin, line.end - line.begin);
        if (line.begin == 0 && text.startsWith(kBom)) // the file's own mark
            text = text.sliced(kBom.size());
        if (text.startsWith('[')) {
            const QString prefix = sectionPrefix(text.sliced(1));
            doc.sections.push_back(
                {prefix, foldedKey(prefix) == groupPrefix, pastLineBreak(data, line.end), {}});
        } else if (line.equals >= 0) {
            Section& section = doc.sections.back();
            section.end = pastLineBreak(data, line.end);
            if (section.isGroup || section.prefix.isEmpty())
                section.entries.push_back(makeEntry(data, line, section.prefix));
        }
        doc.closing = closingFor(data, line, doc.lineBreak);
    }
    return doc;
}

std::optional<QString> valueText(QByteArrayView rawValue) {
    const QString text = unescapedValue(rawValue);
    if (text.startsWith(u"@@"))
        return text.sliced(1);
    if (!text.startsWith(u'@') || !text.endsWith(u')'))
        return text;
    // Typed forms; the number is how many fields make one, 0 for any number. Each blank and
    // each ')' inside the parentheses ends a field.
    struct Form {
        QStringView tag;
        int fields;
    };
    static constexpr Form kNotText[] = {
        {u"@ByteArray(", 0}, {u"@DateTime(", 0}, {u"@Rect(", 4}, {u"@Size(", 2}, {u"@Point(", 2}};
    if (text.startsWith(u"@String("))
        return text.sliced(8).chopped(1);
    if (text.startsWith(u"@Variant("))
        return variantText(QStringView(text).sliced(9).chopped(1));
    if (text == u"@Invalid()")
        return std::nullopt;
    for (const Form& form : kNotText) {
        if (!text.startsWith(form.tag))
            continue;
        const QStringView inside = QStringView(text).sliced(form.tag.size()).chopped(1);
        const qsizetype fields = 1 + inside.count(u' ') + inside.count(u')');
        if (form.fields == 0 || fields == form.fields)
            return std::nullopt;
    }
    return text;
}

QByteArray escapedValue(QStringView text) {
    // A NUL cannot stand in a plain value; a leading '@' would announce a typed value.
    QString value = text.toString();
    if (text.contains(QChar(u'\0')))
        value = QStringLiteral("@String(%1)").arg(value);
    else if (text.startsWith(u'@'))
        value.prepend(u'@');

    QByteArray out;
    out.reserve(value.size() * 3 / 2 + 2);
    bool afterNumber = false; // a hex digit there would be read as part of the numeric escape
    bool plainYet = false;    // a U+FEFF that starts the plain bytes would be dropped on reading
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value[i].unicode();
        const auto letter =
            std::find_if(std::begin(kEscapes), std::begin(kEscapes) + kWrittenEscapes,
                         [ch](const Escape& e) { return e.value == ch; });
        const bool numeric = ch < 0x20 || QChar::isSurrogate(ch) ||
                             (afterNumber && hexDigit(ch) >= 0) || (!plainYet && ch == 0xFEFF);
        afterNumber = false;
        if (letter != std::begin(kEscapes) + kWrittenEscapes) {
            out += '\\';
            out += letter->code;
        } else if (QChar::isHighSurrogate(ch) && i + 1 < value.size() &&
                   value[i + 1].isLowSurrogate()) {
            out += QStringView(value).sliced(i++, 2).toUtf8();
            plainYet = true;
        } else if (numeric) {
            // A lone surrogate has no UTF-8 form; the escape keeps it and the file valid.
            out += ch == 0 ? QByteArray("\\0") : "\\x" + QByteArray::number(ch, 16);
            afterNumber = true;
        } else {
            out += QStringView(value).sliced(i, 1).toUtf8();
            plainYet = true;
        }
    }
    if (value.contains(u';') || value.contains(u',') || value.contains(u'=') ||
        out.startsWith(' ') || out.endsWith(' ')) {
        out.prepend('"');
        out.append('"');
    }
    return out;
}

QString foldedKey(QStringView key) {
    QString folded = key.toString();
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

} // namespace kestrelon::ini
