#include "iniformat.h"

#include <algorithm>
#include <span>

namespace kestrelon::ini {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The characters that end a run of plain text within a line.
bool isSpecial(char c) {
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

// Blanks, line breaks and byte order marks: an editor may leave a mark at the start of any line.
qsizetype skipBlanks(QByteArrayView data, qsizetype pos) {
    for (;;) {
        if (pos < data.size() && isSpace(data[pos]))
            ++pos;
        else if (data.sliced(pos).startsWith(kBom))
            pos += kBom.size();
        else
            return pos;
    }
}

struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equalsPos = -1; // within data, -1 if none outside quotes
    bool inQuotes = false;    // the data ended inside quotes
    // The data ended in a backslash, or in an escaped line break: either joins what follows.
    bool loneBackslash = false;
    bool escapedBreak = false;
};

// Splits off the next logical line the way QSettings does: a quoted part may span line breaks,
// a backslash joins the next line, an unquoted ';' ends the line and starts a comment.
bool readLine(QByteArrayView data, qsizetype& dataPos, Line& line) {
    const qsizetype dataLen = data.size();
    bool inQuotes = false;
    line.equalsPos = -1;
    line.loneBackslash = line.escapedBreak = false;

    qsizetype lineStart = skipBlanks(data, dataPos);

    qsizetype i = lineStart;
    while (i < dataLen) {
        char ch = data[i];
        while (!isSpecial(ch)) {
            if (++i == dataLen)
                goto done;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && line.equalsPos == -1)
                line.equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            // A backslash or escaped line break at the very end would join whatever follows.
            line.loneBackslash = i == dataLen;
            if (i < dataLen) {
                const char escaped = data[i++];
                line.escapedBreak = escaped == '\n' || escaped == '\r';
                if (i < dataLen) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
            line.escapedBreak = line.escapedBreak && i == dataLen;
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < dataLen && data[i] != '\n' && data[i] != '\r')
                    ++i;
                i = lineStart = skipBlanks(data, i);
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    dataPos = i;
    line.start = lineStart;
    line.length = i - lineStart;
    line.inQuotes = inQuotes;
    return line.length > 0;
}

// Key escapes: '\' separates groups like '/', %XX and %UXXXX give a character. Sections use the
// same escapes.
QString unescapedKey(QByteArrayView key) {
    const QString decoded = QString::fromUtf8(key);
    const qsizetype size = decoded.size();
    QString result;
    result.reserve(size);
    qsizetype i = 0;
    while (i < size) {
        const QChar ch = decoded[i];
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == size - 1) {
            result += ch;
            ++i;
            continue;
        }
        int numDigits = 2;
        qsizetype firstDigit = i + 1;
        if (decoded[i + 1] == u'U') {
            ++firstDigit;
            numDigits = 4;
        }
        bool ok = false;
        const ushort value =
            firstDigit + numDigits > size
                ? 0
                : QStringView(decoded).sliced(firstDigit, numDigits).toUShort(&ok, 16);
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(value);
        i = firstDigit + numDigits;
    }
    return result;
}

QString sectionPrefix(QByteArrayView headerLine) {
    const qsizetype close = headerLine.indexOf(']');
    const qsizetype end = close == -1 ? headerLine.size() : close;
    const QByteArrayView name = headerLine.first(end).sliced(1).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return {};
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.sliced(1)) + u'/';
    return unescapedKey(name) + u'/';
}

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

void chopTrailingBlanks(QString& text, qsizetype limit) {
    qsizetype n = text.size() - 1;
    while (n >= limit && (text[n] == u' ' || text[n] == u'\t'))
        text.truncate(n--);
}

struct Escape {
    char code;
    char16_t value;
};
// The escapes that QSettings reads; it writes all but the last two.
constexpr Escape kEscapes[] = {{'a', u'\a'},  {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},
                               {'r', u'\r'},  {'t', u'\t'}, {'v', u'\v'}, {'"', u'"'},
                               {'\\', u'\\'}, {'?', u'?'},  {'\'', u'\''}};
constexpr std::span<const Escape> kWrittenEscapes = std::span(kEscapes).first(9);

// UTF-8 to text. Each maximal invalid subsequence (the Unicode recommended practice) becomes one
// U+FFFD, wherever it stands, and a byte order mark is an ordinary character: Qt's decoders drop a
// leading one, and a stateful decoder keeps a sequence cut at the end waiting for ever.
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
        if (lead >= 0xC2 && lead <= 0xF4) {
            for (; taken < length && i < in.size(); ++taken, ++i) {
                const auto next = static_cast<unsigned char>(in[i]);
                if (next < low || next > high)
                    break;
                code = (code << 6) | (next & 0x3F);
                low = 0x80;
                high = 0xBF;
            }
        }
        if (taken == length)
            out += QStringView(QChar::fromUcs4(code));
        else
            out += QChar(QChar::ReplacementCharacter);
    }
}

// QSettings' value unescaping, except that an unquoted comma stays a comma instead of
// splitting the value into a list.
QString unescapedValue(QByteArrayView str) {
    QString result;
    result.reserve(str.size());
    const qsizetype size = str.size();
    qsizetype i = 0;
    qsizetype chopLimit = 0; // blanks before this point came from escapes or quotes: never chopped
    bool inQuotes = false;
    bool quoted = false;
    bool skipBlanks = true;
    for (;;) {
        if (skipBlanks) {
            while (i < size && (str[i] == ' ' || str[i] == '\t'))
                ++i;
            skipBlanks = false;
            chopLimit = result.size();
        }
        if (i >= size) {
            if (!quoted)
                chopTrailingBlanks(result, chopLimit);
            return result;
        }
        if (str[i] == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            skipBlanks = !inQuotes;
            continue;
        }
        if (str[i] != '\\') {
            qsizetype j = i + 1;
            while (j < size && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            appendUtf8(result, str.sliced(i, j - i));
            i = j;
            continue;
        }
        if (++i >= size)
            return result;
        const char code = str[i++];
        const bool hex = code == 'x';
        const auto simple = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                         [code](const Escape& e) { return e.code == code; });
        if (simple != std::end(kEscapes)) {
            result += QChar(simple->value);
        } else if ((hex && i < size && isHexDigit(str[i])) || (code >= '0' && code <= '7')) {
            char16_t value = hex ? 0 : char16_t(code - '0');
            for (; i < size && (hex ? isHexDigit(str[i]) : str[i] >= '0' && str[i] <= '7'); ++i) {
                const char digit = str[i];
                value = char16_t((value << (hex ? 4 : 3)) +
                                 (digit <= '9' ? digit - '0' : (digit | 0x20) - 'a' + 10));
            }
            result += QChar(value);
        } else if (hex && i >= size) {
            return result;
        } else if ((code == '\n' || code == '\r') && i < size &&
                   (str[i] == '\n' || str[i] == '\r') && str[i] != code) {
            ++i; // a line continuation: a two-character line break counts as one
        }
        // Any other escaped character is dropped.
        chopLimit = result.size();
    }
}

// Just past the line break that ends the physical line at pos, a trailing comment included.
qsizetype pastLineBreak(QByteArrayView data, qsizetype pos) {
    while (pos < data.size() && data[pos] != '\n' && data[pos] != '\r')
        ++pos;
    if (data.sliced(pos).startsWith("\r\n"))
        return pos + 2;
    return std::min(pos + 1, data.size());
}

} // namespace

Document parse(QByteArrayView data, QStringView group) {
    const QString groupPrefix = foldedKey(group) + u'/';
    Document doc;
    doc.sections.emplace_back();
    if (const qsizetype at = data.indexOf('\n'), cr = data.indexOf('\r');
        cr >= 0 && (at < 0 || cr < at))
        doc.lineBreak = data.sliced(cr).startsWith("\r\n") ? "\r\n" : "\r";

    qsizetype pos = 0;
    Line line;
    while (readLine(data, pos, line)) {
        const QByteArrayView text = data.sliced(line.start, line.length);
        if (text.startsWith('[')) {
            const QString prefix = sectionPrefix(text);
            doc.sections.push_back(
                {prefix, foldedKey(prefix) == groupPrefix, pastLineBreak(data, pos), {}});
        } else if (line.equalsPos != -1) {
            Section& section = doc.sections.back();
            section.end = pastLineBreak(data, pos);
            const qsizetype valueEnd = line.start + line.length;
            qsizetype trimmedEnd = valueEnd;
            while (trimmedEnd > line.equalsPos + 1 &&
                   (data[trimmedEnd - 1] == ' ' || data[trimmedEnd - 1] == '\t'))
                --trimmedEnd;
            const qsizetype equals = line.equalsPos - line.start;
            if (section.isGroup || section.prefix.isEmpty()) {
                section.entries.push_back(
                    {section.prefix + unescapedKey(text.first(equals).trimmed()),
                     line.equalsPos + 1, valueEnd, trimmedEnd});
            }
        }
        // What text appended to the file needs first, so that it starts a line of its own.
        // A lone backslash takes the first line break as a continuation, which changes nothing.
        doc.closing = line.loneBackslash ? doc.lineBreak : QByteArray();
        if (line.inQuotes)
            doc.closing += '"';
        else if (line.escapedBreak) // an escaped "\r" would take a following "\n" along
            doc.closing += doc.lineBreak;
        if (!doc.closing.isEmpty() || line.escapedBreak ||
            !(data.endsWith('\n') || data.endsWith('\r')))
            doc.closing += doc.lineBreak;
    }
    return doc;
}

std::optional<QString> valueText(QByteArrayView rawValue) {
    QString text = unescapedValue(rawValue);
    if (!text.startsWith(u'@'))
        return text;
    if (text.endsWith(u')')) {
        if (text.startsWith(u"@String("))
            return text.sliced(8).chopped(1);
        for (const char16_t* prefix :
             {u"@ByteArray(", u"@Variant(", u"@DateTime(", u"@Rect(", u"@Size(", u"@Point("}) {
            if (text.startsWith(QStringView(prefix)))
                return std::nullopt;
        }
        if (text == u"@Invalid()")
            return std::nullopt;
    }
    if (text.startsWith(u"@@"))
        text.remove(0, 1);
    return text;
}

QByteArray escapedValue(QStringView text) {
    // A NUL cannot stand in a plain value; a leading '@' would announce a typed value.
    QString value = text.toString();
    if (text.contains(QChar(u'\0')))
        value = QStringLiteral("@String(%1)").arg(value);
    else if (text.startsWith(u'@'))
        value.prepend(u'@');

    QByteArray result;
    result.reserve(value.size() * 3 / 2 + 2);
    bool needsQuotes = false;
    bool escapeNextIfDigit = false; // after a numeric escape a digit would be read as part of it
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value[i].unicode();
        needsQuotes = needsQuotes || ch == u';' || ch == u',' || ch == u'=';
        const bool hexDigit = escapeNextIfDigit && isHexDigit(ch);
        escapeNextIfDigit = ch == u'\0';
        const auto simple = std::find_if(kWrittenEscapes.begin(), kWrittenEscapes.end(),
                                         [ch](const Escape& e) { return e.value == ch; });
        if (ch == u'\0') {
            result += "\\0";
        } else if (simple != kWrittenEscapes.end()) {
            result += '\\';
            result += simple->code;
        } else if (QChar::isHighSurrogate(ch) && i + 1 < value.size() &&
                   value[i + 1].isLowSurrogate()) {
            result += QStringView(value).sliced(i++, 2).toUtf8();
        } else if (hexDigit || ch <= 0x1F || QChar::isSurrogate(ch)) {
            // A lone surrogate has no UTF-8 form; the escape keeps it and the file valid.
            result += "\\x" + QByteArray::number(ch, 16);
            escapeNextIfDigit = true;
        } else if (ch < 0x80) {
            result += char(ch);
        } else {
            result += QStringView(value).sliced(i, 1).toUtf8();
        }
    }
    if (needsQuotes || (!result.isEmpty() && (result.front() == ' ' || result.back() == ' '))) {
        result.prepend('"');
        result.append('"');
    }
    return result;
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
