#include "import/StepFile.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>

namespace pendrio {

namespace {

// Deeper than any IFC entity nests its lists (a point list of lists is two).
constexpr int MaxNesting = 32;
// More values than the attributes of any entity an alignment is read from
// hold; the largest, a list of nested segments, has one per segment.
constexpr qsizetype MaxValuesKept = qsizetype(1) << 20;

// Why reading stopped: the bytes ran out, or one did not belong where it stood.
struct Stop {
    bool cutOff;
    qsizetype at;
};
// Or there was more to keep than is kept: not a fault of the file's syntax.
struct TooMany {};

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Reading with nothing kept checks the syntax alone; kept values are built
// (the header's, an entity's that is asked for).
class StepParser {
public:
    StepParser(const QByteArray& bytes, const QHash<QByteArray, StepWanted>& wanted)
        : bytes_(bytes), wanted_(wanted) {}

    QList<StepValue> attributesAt(qsizetype at) {
        at_ = at;
        keep_ = true;
        kept_ = 0;
        return list(0);
    }

    StepFile read() {
        expectWord("ISO-10303-21");
        expect(';');
        expectWord("HEADER");
        expect(';');
        readHeader();
        while (peekWord() == "DATA") {
            readDataSection();
        }
        expectWord("END-ISO-10303-21");
        expect(';');
        return std::move(file_);
    }

private:
    [[noreturn]] void stop() const { throw Stop{at_ >= bytes_.size(), at_}; }

    char peek() {
        skipBlanks();
        if (at_ >= bytes_.size()) {
            stop();
        }
        return bytes_.at(at_);
    }
    // White space and /* comments */ may stand between any two tokens.
    void skipBlanks() {
        while (at_ < bytes_.size()) {
            const char c = bytes_.at(at_);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++at_;
            } else if (c == '/' && at_ + 1 < bytes_.size() && bytes_.at(at_ + 1) == '*') {
                const qsizetype end = bytes_.indexOf("*/", at_ + 2);
                at_ = end < 0 ? bytes_.size() : end + 2;
                if (end < 0) {
                    stop();
                }
            } else {
                return;
            }
        }
    }
    void expect(char c) {
        if (peek() != c) {
            stop();
        }
        ++at_;
    }
    // A keyword: letters, digits, '_' and, in the file's own markers, '-'.
    QByteArray peekWord() {
        const char first = peek();
        qsizetype end = at_;
        while (end < bytes_.size() && (isLetter(bytes_.at(end)) || isDigit(bytes_.at(end)) ||
                                       (bytes_.at(end) == '-' && isLetter(first)))) {
            ++end;
        }
        return bytes_.mid(at_, end - at_).toUpper();
    }
    QByteArray word() {
        if (!isLetter(peek())) {
            stop();
        }
        const QByteArray name = peekWord();
        at_ += name.size();
        return name;
    }
    void expectWord(const char* name) {
        if (peekWord() != name) {
            stop();
        }
        at_ += qsizetype(qstrlen(name));
    }

    void readHeader() {
        while (peekWord() != "ENDSEC") {
            const QByteArray name = word();
            keep_ = true;
            kept_ = 0;
            const QList<StepValue> values = list(0);
            keep_ = false;
            expect(';');
            if (name == "FILE_SCHEMA" && !values.isEmpty()) {
                for (const StepValue& schema : values.first().items) {
                    file_.schemas.append(schema.text);
                }
            }
        }
        expectWord("ENDSEC");
        expect(';');
    }

    void readDataSection() {
        expectWord("DATA");
        if (peek() == '(') {
            list(0); // the section's name and schema, from the third edition on
        }
        expect(';');
        while (peek() == '#') {
            readInstance();
        }
        expectWord("ENDSEC");
        expect(';');
    }

    void readInstance() {
        expect('#');
        const std::int64_t number = integer();
        expect('=');
        if (peek() == '(') {
            // A complex instance, (A(..) B(..)): none of the entities read is one.
            ++at_;
            while (peek() != ')') {
                word();
                list(0);
            }
            ++at_;
        } else {
            const QByteArray type = word();
            const auto wanted = wanted_.constFind(type);
            const qsizetype attributes = at_;
            list(0);
            if (wanted != wanted_.cend() && !file_.entities.contains(number) &&
                matches(*wanted, attributes)) {
                if (file_.order.size() == MaxStepEntitiesKept) {
                    throw TooMany{};
                }
                // The wanted list's own type, which shares its bytes with every entity kept.
                file_.entities.insert(number, {wanted.key(), attributes});
                file_.order.append(number);
            }
        }
        expect(';');
    }

    // Whether an entity of a wanted type is wanted: read again, small as it is.
    bool matches(const StepWanted& wanted, qsizetype attributes) {
        if (wanted.attribute < 0) {
            return true;
        }
        const qsizetype end = at_;
        QList<StepValue> values;
        try {
            values = attributesAt(attributes);
        } catch (const TooMany&) {
        }
        keep_ = false;
        at_ = end;
        return wanted.attribute < values.size() && values[wanted.attribute].text == wanted.text;
    }

    std::int64_t integer() {
        skipBlanks();
        std::int64_t value = 0;
        const char* begin = bytes_.constData() + at_;
        const auto [end, error] = std::from_chars(begin, bytes_.constData() + bytes_.size(), value);
        if (error != std::errc() || value < 0) {
            stop();
        }
        at_ += end - begin;
        return value;
    }

    QList<StepValue> list(int depth) {
        if (depth > MaxNesting) {
            stop();
        }
        expect('(');
        QList<StepValue> values;
        if (peek() == ')') {
            ++at_;
            return values;
        }
        for (;;) {
            if (!keep_) {
                value(depth);
            } else if (++kept_ > MaxValuesKept) {
                throw TooMany{};
            } else {
                values.append(value(depth));
            }
            if (peek() == ')') {
                ++at_;
                return values;
            }
            expect(',');
        }
    }

    StepValue value(int depth) {
        StepValue v;
        const char c = peek();
        if (c == '$' || c == '*') {
            ++at_;
            v.kind = c == '$' ? StepValue::Kind::Missing : StepValue::Kind::Derived;
        } else if (c == '#') {
            ++at_;
            v.kind = StepValue::Kind::Reference;
            v.reference = integer();
        } else if (c == '\'') {
            v.kind = StepValue::Kind::Text;
            v.text = string();
        } else if (c == '"') {
            v.kind = StepValue::Kind::Binary;
            const qsizetype end = bytes_.indexOf('"', at_ + 1);
            at_ = end < 0 ? bytes_.size() : end + 1;
            if (end < 0) {
                stop();
            }
        } else if (c == '.') {
            v.kind = StepValue::Kind::Enumeration;
            ++at_;
            v.text = QString::fromLatin1(word());
            expect('.');
        } else if (c == '(') {
            v.kind = StepValue::Kind::List;
            v.items = list(depth + 1);
        } else if (isLetter(c)) {
            v.kind = StepValue::Kind::Typed;
            v.text = QString::fromLatin1(word());
            v.items = list(depth + 1);
        } else {
            v.kind = StepValue::Kind::Number;
            v.number = number();
        }
        return v;
    }

    // "1.", "-0.5", "1.5E-3", "12": std::from_chars reads them all, but not a '+'.
    double number() {
        const char* data = bytes_.constData();
        if (data[at_] == '+') {
            ++at_;
        }
        double value = 0;
        const auto [end, error] =
            std::from_chars(data + at_, data + bytes_.size(), value, std::chars_format::general);
        if (!(isDigit(data[at_]) || data[at_] == '-') || error != std::errc() ||
            !std::isfinite(value)) {
            stop();
        }
        at_ = end - data;
        return value;
    }

    QString string();
    bool escape(QString& text);

    const QByteArray& bytes_;
    const QHash<QByteArray, StepWanted>& wanted_;
    qsizetype at_ = 0;
    bool keep_ = false;
    qsizetype kept_ = 0; // values built since the last entity's attributes were asked for
    StepFile file_;
};

// '' stands for one apostrophe, \\ for a backslash, \X\hh, \X2\..\X0\,
// \X4\..\X0\ and \S\c for characters beyond ASCII; line breaks are no part
// of a string. Other bytes are taken as UTF-8, as the third edition allows.
QString StepParser::string() {
    ++at_;
    QString text;
    qsizetype run = at_;
    const auto flush = [&] { text += QString::fromUtf8(bytes_.mid(run, at_ - run)); };
    while (at_ < bytes_.size()) {
        const char c = bytes_.at(at_);
        if (c == '\'' && at_ + 1 < bytes_.size() && bytes_.at(at_ + 1) == '\'') {
            ++at_;
            flush();
            run = ++at_;
        } else if (c == '\'') {
            flush();
            ++at_;
            return text;
        } else if (c == '\\' || c == '\n' || c == '\r') {
            flush();
            if (c != '\\' || !escape(text)) {
                ++at_;
            }
            run = at_;
        } else {
            ++at_;
        }
    }
    stop();
}

// At a backslash: decodes one escape into `text` and moves past it; false if
// the backslash starts none, to be read as itself.
bool StepParser::escape(QString& text) {
    const QByteArray rest = bytes_.mid(at_, 4);
    const auto hexAt = [&](qsizetype from, int digits) -> long {
        long value = 0;
        for (int i = 0; i < digits; ++i) {
            const int d = from + i < bytes_.size() ? hexDigit(bytes_.at(from + i)) : -1;
            if (d < 0) {
                return -1;
            }
            value = value * 16 + d;
        }
        return value;
    };
    if (rest.startsWith("\\\\")) {
        text += u'\\';
        at_ += 2;
    } else if (rest.startsWith("\\X\\") && hexAt(at_ + 3, 2) >= 0) {
        text += QChar(char16_t(hexAt(at_ + 3, 2)));
        at_ += 5;
    } else if (rest.startsWith("\\S\\") && at_ + 3 < bytes_.size()) {
        text += QChar(char16_t(std::uint8_t(bytes_.at(at_ + 3)) | 0x80));
        at_ += 4;
    } else if (rest == "\\X2\\" || rest == "\\X4\\") {
        const int digits = rest == "\\X2\\" ? 4 : 8;
        at_ += 4;
        for (long unit; (unit = hexAt(at_, digits)) >= 0; at_ += digits) {
            const char32_t code = char32_t(unit);
            text += digits == 4 ? QString(QChar(char16_t(code))) : QString::fromUcs4(&code, 1);
        }
        if (bytes_.mid(at_, 4) != "\\X0\\") {
            stop();
        }
        at_ += 4;
    } else if (rest.startsWith("\\P") && rest.endsWith('\\')) {
        at_ += 4; // a code page for \S\, which is read as Latin-1 here
    } else {
        return false;
    }
    return true;
}

} // namespace

Outcome<StepFile> ReadStepFile(const QByteArray& bytes,
                               const QHash<QByteArray, StepWanted>& wanted) {
    try {
        return StepParser(bytes, wanted).read();
    } catch (const TooMany&) {
        return Outcome<StepFile>::Refused(
            QCoreApplication::translate("pendrio::AlignmentImport",
                                        "The IFC file holds more than %1 entities of the kinds "
                                        "an alignment is read from, more than Pendrio reads.")
                .arg(MaxStepEntitiesKept));
    } catch (const Stop& stop) {
        if (stop.cutOff) {
            return Outcome<StepFile>::Refused(QCoreApplication::translate(
                "pendrio::AlignmentImport",
                "The IFC file ends before its end: it is cut off or still being written."));
        }
        const qsizetype line = bytes.left(stop.at).count('\n') + 1;
        return Outcome<StepFile>::Refused(
            QCoreApplication::translate("pendrio::AlignmentImport",
                                        "The IFC file is garbled in line %1.")
                .arg(line));
    }
}

std::optional<QList<StepValue>> StepAttributes(const QByteArray& bytes, const StepEntity& entity) {
    try {
        return StepParser(bytes, {}).attributesAt(entity.attributesAt);
    } catch (...) {
        return std::nullopt; // too many values: the file was read whole before
    }
}

} // namespace pendrio
