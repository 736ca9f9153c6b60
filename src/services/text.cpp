#include "services/text.h"

#include <QTextCodec>

namespace fc::services {
namespace {

QTextCodec& gbkCodec() {
    // GBK is an alias of GB18030 in Qt's own codecs; ask for the 936 name first.
    static QTextCodec* codec = [] {
        QTextCodec* c = QTextCodec::codecForName("GBK");
        if (c == nullptr) c = QTextCodec::codecForName("GB18030");
        Q_ASSERT(c != nullptr);
        return c;
    }();
    return *codec;
}

constexpr char kPlaceholder[2] = {'\xA1', '\xA0'};

// Code page 936 holds the euro sign as the single byte 80, its only one-byte
// character above ASCII. Some codecs reject it or give it two bytes (GB18030).
constexpr char16_t kEuro = 0x20AC;
constexpr char kEuroByte = '\x80';

// GB18030 encodes characters outside GBK as four bytes; GBK has no such form.
bool isGbkSequence(const QByteArray& bytes) {
    if (bytes.size() == 1) return static_cast<unsigned char>(bytes[0]) < 0x80;
    if (bytes.size() != 2) return false;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

}  // namespace

QByteArray toGbk(QStringView text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    QTextCodec& codec = gbkCodec();
    qsizetype i = 0;
    while (i < text.size()) {
        // One code point at a time, so that a character GBK lacks is replaced
        // without disturbing its neighbours.
        const qsizetype len =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        const QStringView ch = text.mid(i, len);
        if (ch.size() == 1 && ch[0].unicode() < 0x80) {
            out.append(static_cast<char>(ch[0].unicode()));
        } else if (ch.size() == 1 && ch[0].unicode() == kEuro) {
            out.append(kEuroByte);
        } else {
            QTextCodec::ConverterState st(QTextCodec::ConvertInvalidToNull);
            const QByteArray bytes = codec.fromUnicode(ch.data(), static_cast<int>(len), &st);
            if (st.invalidChars == 0 && isGbkSequence(bytes)) {
                out.append(bytes);
            } else {
                out.append(kPlaceholder, 2);
            }
        }
        i += len;
    }
    return out;
}

int byteLength(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || u == kEuro) {
            ++n;
        } else {
            // Every other character is two GBK bytes, or the two-byte placeholder
            // when GBK lacks it; a surrogate pair is one such character.
            n += 2;
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            }
        }
    }
    return n;
}

std::int32_t gbkToInt(QByteArrayView bytes) {
    // Step 1: fold full-width forms. Stop at an embedded zero byte as the C text would.
    QByteArray plain;
    plain.reserve(bytes.size());
    const qsizetype end = [&] {
        const qsizetype z = bytes.indexOf('\0');
        return z < 0 ? bytes.size() : z;
    }();
    for (qsizetype i = 0; i < end; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            plain.append(static_cast<char>(b));
            continue;
        }
        if (i + 1 >= end) break;  // a lone lead byte before the end is dropped
        const auto t = static_cast<unsigned char>(bytes[i + 1]);
        ++i;
        if (b == 0xA1 && t == 0xA1) {
            plain.append(' ');
        } else if (b == 0xA1 && t == 0xAB) {
            plain.append('~');
        } else if (b == 0xA1 && (t == 0xEE || t == 0xEF)) {
            plain.append('*');
        } else if (b == 0xA3 && t >= 0xA1 && t <= 0xFE) {
            plain.append(static_cast<char>(t & 0x7F));
        } else {
            plain.append(static_cast<char>(b));
            plain.append(static_cast<char>(t));
        }
    }

    // Step 2: decimal read with wrap-around, done in unsigned arithmetic so the
    // wrap is defined behaviour.
    qsizetype i = 0;
    while (i < plain.size() && (plain[i] == ' ' || (plain[i] >= '\t' && plain[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) {
        negative = plain[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    while (i < plain.size() && plain[i] >= '0' && plain[i] <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(plain[i] - '0');
        ++i;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t textToInt(QStringView text) { return gbkToInt(toGbk(text)); }

QString intToText(std::int32_t value) { return QString::number(value); }

QString join(std::initializer_list<QStringView> pieces) {
    QString out(QLatin1String(""));  // empty, not null
    qsizetype total = 0;
    for (QStringView p : pieces) total += p.size();
    out.reserve(total);
    for (QStringView p : pieces) out.append(p);
    return out;
}

bool sameText(QStringView a, QStringView b) { return a == b; }

}  // namespace fc::services
