#include "iniformat.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace kestrelon::ini {

namespace {

enum : unsigned char { Space = 1, Special = 2 };

constexpr std::array<unsigned char, 256> makeTraits() {
    std::array<unsigned char, 256> traits{};
    traits['\t'] = Space;
    traits[' '] = Space;
    traits['\n'] = Space | Special;
    traits['\r'] = Space | Special;
    traits['"'] = Special;
    traits[';'] = Special;
    traits['='] = Special;
    traits['\\'] = Special;
    return traits;
}

constexpr std::array<unsigned char, 256> kTraits = makeTraits();

unsigned char traitsOf(char c) {
    return kTraits[static_cast<unsigned char>(c)];
}

struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equalsPos = -1; // within data, -1 if none outside quotes
    bool complete = true;     // false when the data ended inside quotes
};

// Splits off the next logical line the way QSettings does: a quoted part may span line breaks,
// a backslash joins the next line, an unquoted ';' ends the line and starts a comment.
bool readLine(QByteArrayView data, qsizetype& dataPos, Line& line) {
    const qsizetype dataLen = data.size();
    bool inQuotes = false;
    line.equalsPos = -1;

    qsizetype lineStart = dataPos;
    while (lineStart < dataLen && (traitsOf(data[lineStart]) & Space))
        ++lineStart;

    qsizetype i = lineStart;
    while (i < dataLen) {
        char ch = data[i];
        while (!(traitsOf(ch) & Special)) {
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
            if (i < dataLen) {
                const char escaped = data[i++];
                if (i < dataLen) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < dataLen && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < dataLen && (traitsOf(data[i]) & Space))
                    ++i;
                lineStart = i;
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
    line.complete = !inQuotes;
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

void chopTrailingBlanks(QString& text, qsizetype limit) {
    qsizetype n = text.size() - 1;
    while (n >= limit && (text[n] == u' ' || text[n] == u'\t'))
        text.truncate(n--);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// QSettings' value unescaping, except that an unquoted comma stays a comma instead of
// splitting the value into a list.
QString unescapedValue(QByteArrayView str) {
    struct Escape {
        char code;
        char16_t value;
    };
    static constexpr Escape kEscapes[] = {{'a', u'\a'}, {'b', u'\b'},  {'f', u'\f'}, {'n', u'\n'},
                                          {'r', u'\r'}, {'t', u'\t'},  {'v', u'\v'}, {'"', u'"'},
                                          {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'}};
    enum class State { SkipBlanks, Normal, HexEscape, OctalEscape };

    QString result;
    result.reserve(str.size());
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    const qsizetype size = str.size();
    qsizetype i = 0;
    qsizetype chopLimit = 0; // blanks before this point came from escapes or quotes: never chopped
    bool inQuotes = false;
    bool quoted = false;
    char16_t escapeValue = 0;
    State state = State::SkipBlanks;

    for (;;) {
        switch (state) {
        case State::SkipBlanks:
            while (i < size && (str[i] == ' ' || str[i] == '\t'))
                ++i;
            state = State::Normal;
            chopLimit = result.size();
            break;

        case State::Normal: {
            if (i >= size) {
                if (!quoted)
                    chopTrailingBlanks(result, chopLimit);
                return result;
            }
            const char c = str[i];
            if (c == '\\') {
                ++i;
                if (i >= size)
                    return result;
                const char code = str[i++];
                bool simple = false;
                for (const Escape& e : kEscapes) {
                    if (code == e.code) {
                        result += QChar(e.value);
                        simple = true;
                        break;
                    }
                }
                if (simple) {
                    chopLimit = result.size();
                    break;
                }
                if (code == 'x') {
                    escapeValue = 0;
                    if (i >= size)
                        return result;
                    const char first = str[i];
                    if ((first >= '0' && first <= '9') || (first >= 'A' && first <= 'F') ||
                        (first >= 'a' && first <= 'f')) {
                        state = State::HexEscape;
                        break;
                    }
                } else if (code >= '0' && code <= '7') {
                    escapeValue = static_cast<char16_t>(code - '0');
                    state = State::OctalEscape;
                    break;
                } else if (code == '\n' || code == '\r') {
                    // A line continuation; a two-character line break counts as one.
                    if (i < size) {
                        const char next = str[i];
                        if ((next == '\n' || next == '\r') && next != code)
                            ++i;
                    }
                }
                // Any other escaped character is dropped.
                chopLimit = result.size();
                break;
            }
            if (c == '"') {
                ++i;
                quoted = true;
                inQuotes = !inQuotes;
                if (!inQuotes)
                    state = State::SkipBlanks;
                break;
            }
            qsizetype j = i + 1;
            while (j < size && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            result += fromUtf8(str.sliced(i, j - i));
            i = j;
            break;
        }

        case State::HexEscape:
        case State::OctalEscape: {
            const bool hex = state == State::HexEscape;
            if (i >= size) {
                result += QChar(escapeValue);
                return result;
            }
            char c = str[i];
            int digit = -1;
            if (hex) {
                if (c >= 'a')
                    c = static_cast<char>(c - ('a' - 'A'));
                digit = hexValue(c);
            } else if (c >= '0' && c <= '7') {
                digit = c - '0';
            }
            if (digit >= 0) {
                escapeValue = static_cast<char16_t>((escapeValue << (hex ? 4 : 3)) + digit);
                ++i;
            } else {
                result += QChar(escapeValue);
                state = State::Normal;
                chopLimit = result.size();
            }
            break;
        }
        }
    }
}

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAsciiLetterOrDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

Document parse(QByteArrayView data) {
    Document doc;
    doc.sections.emplace_back();
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);

    qsizetype pos = 0;
    Line line;
    while (readLine(data, pos, line)) {
        const QByteArrayView text = data.sliced(line.start, line.length);
        if (text.startsWith('[')) {
            Section section;
            section.hasHeader = true;
            section.prefix = sectionPrefix(text);
            section.complete = line.complete;
            doc.sections.push_back(std::move(section));
            continue;
        }
        if (line.equalsPos == -1)
            continue;
        const qsizetype equals = line.equalsPos - line.start;
        Section& section = doc.sections.back();
        section.entries.push_back(Entry{section.prefix + unescapedKey(text.first(equals).trimmed()),
                                        text.toByteArray(), equals + 1, line.complete});
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

QByteArray escapedKey(QStringView key) {
    QByteArray result;
    result.reserve(key.size());
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == u'/') {
            result += '\\';
        } else if (isAsciiLetterOrDigit(ch) || ch == u'_' || ch == u'-' || ch == u'.') {
            result += static_cast<char>(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += kHexDigits[ch / 16];
            result += kHexDigits[ch % 16];
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                result += kHexDigits[(ch >> shift) & 0xF];
        }
    }
    return result;
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
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bool needsQuotes = false;
    bool escapeNextIfDigit = false; // after a numeric escape a digit would be read as part of it
    for (const QChar qch : std::as_const(value)) {
        const char16_t ch = qch.unicode();
        if (ch == u';' || ch == u',' || ch == u'=')
            needsQuotes = true;
        if (escapeNextIfDigit && isHexDigit(ch)) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case u'\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case u'\a':
            result += "\\a";
            break;
        case u'\b':
            result += "\\b";
            break;
        case u'\f':
            result += "\\f";
            break;
        case u'\n':
            result += "\\n";
            break;
        case u'\r':
            result += "\\r";
            break;
        case u'\t':
            result += "\\t";
            break;
        case u'\v':
            result += "\\v";
            break;
        case u'"':
        case u'\\':
            result += '\\';
            result += static_cast<char>(ch);
            break;
        default:
            if (ch <= 0x1F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                result += toUtf8(QStringView(&qch, 1));
            }
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
