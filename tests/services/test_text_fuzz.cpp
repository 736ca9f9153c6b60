// Randomised checks of the number rule against a small reference model, and of the
// GBK conversion on arbitrary UTF-16 (surrogates paired, unpaired and reversed).
// Every random run uses a fixed seed; a failure message names the seed, the case
// number and the input so that it can be replayed.

#include <QByteArray>
#include <QString>
#include <QtTest>

#include <cstdint>
#include <random>
#include <vector>

#include "services/text.h"

using namespace fc::services;

namespace {

constexpr std::uint32_t kSeed = 20240611;

// Reference for the number rule, written for clarity rather than speed: fold the
// full-width forms, then read a decimal number in 64-bit arithmetic reduced
// modulo 2^32 after every step.
std::int32_t modelNumber(const QByteArray& raw) {
    std::vector<unsigned char> bytes;
    for (const char c : raw) {
        if (c == '\0') break;  // the text ends at its zero byte
        bytes.push_back(static_cast<unsigned char>(c));
    }

    std::vector<unsigned char> plain;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            plain.push_back(lead);
            i += 1;
            continue;
        }
        if (i + 1 == bytes.size()) break;  // lone lead byte: dropped
        const unsigned char trail = bytes[i + 1];
        i += 2;
        if (lead == 0xA1 && trail == 0xA1) {
            plain.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            plain.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            plain.push_back('*');
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            plain.push_back(trail - 0x80);
        } else {
            plain.push_back(lead);
            plain.push_back(trail);
        }
    }

    const std::int64_t modulus = std::int64_t{1} << 32;
    std::size_t p = 0;
    while (p < plain.size() && (plain[p] == ' ' || (plain[p] >= 0x09 && plain[p] <= 0x0D))) ++p;
    bool minus = false;
    if (p < plain.size() && (plain[p] == '-' || plain[p] == '+')) {
        minus = plain[p] == '-';
        ++p;
    }
    std::int64_t value = 0;
    while (p < plain.size() && plain[p] >= '0' && plain[p] <= '9') {
        value = (value * 10 + (plain[p] - '0')) % modulus;
        ++p;
    }
    if (minus) value = (modulus - value) % modulus;
    if (value >= modulus / 2) value -= modulus;
    return static_cast<std::int32_t>(value);
}

QByteArray describe(const QByteArray& bytes) { return bytes.toHex(' '); }

// Empty when gbkToInt and the model agree on the bytes, else what to report.
QByteArray mismatch(const QByteArray& bytes) {
    const std::int32_t got = gbkToInt(bytes);
    const std::int32_t want = modelNumber(bytes);
    if (got == want) return {};
    return "bytes [" + describe(bytes) + "] gave " + QByteArray::number(got) + ", model " +
           QByteArray::number(want);
}

QByteArray replay(int n) {
    return "seed " + QByteArray::number(kSeed) + ", case " + QByteArray::number(n) + ": ";
}

QByteArray describe(const QString& s) {
    QByteArray out;
    for (const QChar c : s) out += QByteArray::number(c.unicode(), 16) + ' ';
    return out;
}

// A byte string biased towards what the number rule looks at: digits, signs,
// white space, the folded A1/A3 characters, lone lead bytes and zero bytes.
QByteArray randomBytes(std::mt19937& rng) {
    static const char* const kPieces[] = {
        "0",        "1",        "5",        "9",        "-",        "+",        " ",
        "\t",       "\n",       "\v",       "\f",       "\r",       ".",        "x",
        "\xA1\xA1", "\xA1\xAB", "\xA1\xEE", "\xA1\xEF", "\xA3\xB0", "\xA3\xB5", "\xA3\xB9",
        "\xA3\xAB", "\xA3\xAD", "\xA3\xA0", "\xA3\xFF", "\xA3\xAE", "\xBB\xEE", "\xA1\xA0",
    };
    constexpr int kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> piece(0, kPieceCount - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);

    QByteArray out;
    const int n = length(rng);
    for (int k = 0; k < n; ++k) {
        switch (kind(rng)) {
            case 0:
                out += static_cast<char>(anyByte(rng));
                break;
            case 1:  // A1 or A3 with any byte after it
                out += (anyByte(rng) & 1) ? '\xA1' : '\xA3';
                out += static_cast<char>(anyByte(rng));
                break;
            case 2:  // a lone lead byte, often right before a digit
                out += static_cast<char>(0x80 + anyByte(rng) % 0x80);
                break;
            case 3:
                if (anyByte(rng) < 32) out += '\0';
                break;
            default:
                out += kPieces[piece(rng)];
                break;
        }
    }
    return out;
}

// Code units: ASCII, BMP, surrogate pairs, and lone or reversed surrogates.
QString randomText(std::mt19937& rng) {
    static const char16_t kSamples[] = {u'1',   u'-',   u' ',   0x3000, 0xFF11, 0xFF0D,
                                        0xFF5E, 0x2605, 0x6D3B, 0x20AC, 0x00A0, 0x00B7};
    std::uniform_int_distribution<int> length(0, 16);
    std::uniform_int_distribution<int> kind(0, 6);
    std::uniform_int_distribution<int> ascii(0, 0x7F);
    std::uniform_int_distribution<int> bmp(0x80, 0xFFFF);
    std::uniform_int_distribution<int> surrogate(0xD800, 0xDFFF);
    std::uniform_int_distribution<std::uint32_t> astral(0x10000, 0x10FFFF);
    std::uniform_int_distribution<int> sample(0, static_cast<int>(std::size(kSamples)) - 1);

    QString out;
    const int n = length(rng);
    for (int k = 0; k < n; ++k) {
        switch (kind(rng)) {
            case 0:
                out += QChar(static_cast<char16_t>(ascii(rng)));
                break;
            case 1:
                out += QChar(static_cast<char16_t>(bmp(rng)));
                break;
            case 2:
                out += QChar(static_cast<char16_t>(surrogate(rng)));
                break;
            case 3: {
                const char32_t cp = static_cast<char32_t>(astral(rng));
                out += QString::fromUcs4(&cp, 1);
                break;
            }
            default:
                out += QChar(kSamples[sample(rng)]);
                break;
        }
    }
    return out;
}

// Empty when the GBK output is well formed: one unit per code point (a lone
// surrogate counts as one), ASCII kept as is, the euro sign as 80, everything
// else a two-byte GBK character.
QByteArray gbkFault(const QString& s, const QByteArray& gbk) {
    qsizetype b = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ++i;
        if (u < 0x80 || u == 0x20AC) {
            const char expected = u < 0x80 ? static_cast<char>(u) : '\x80';
            if (b >= gbk.size() || gbk[b] != expected) {
                return "one-byte unit at code unit " + QByteArray::number(i);
            }
            b += 1;
            continue;
        }
        if (b + 1 >= gbk.size()) {
            return "output ends inside code unit " + QByteArray::number(i);
        }
        const auto lead = static_cast<unsigned char>(gbk[b]);
        const auto trail = static_cast<unsigned char>(gbk[b + 1]);
        if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE || trail == 0x7F) {
            return "not a GBK pair at code unit " + QByteArray::number(i);
        }
        b += 2;
    }
    if (b != gbk.size()) {
        return "extra bytes after the last character";
    }
    return {};
}

}  // namespace

class TestTextFuzz : public QObject {
    Q_OBJECT

private slots:
    void modelAgreesOnFixedCases_data();
    void modelAgreesOnFixedCases();
    void everyShortByteString();
    void everyPairInsideANumber();
    void randomBytesMatchModel();
    void randomTextInvariants();
    void fullWidthReadsLikePlain();
};

// The model itself must give the known answers before it may judge anything.
void TestTextFuzz::modelAgreesOnFixedCases_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.7") << QByteArray("12.7") << 12;
    QTest::newRow("eleven nines") << QByteArray("99999999999") << 1215752191;
    QTest::newRow("2147483648") << QByteArray("2147483648") << -2147483647 - 1;
    QTest::newRow("-2147483649") << QByteArray("-2147483649") << 2147483647;
    QTest::newRow("4294967296") << QByteArray("4294967296") << 0;
    QTest::newRow("full-width -5") << QByteArray("\xA1\xA1\xA3\xAD\xA3\xB5") << -5;
    QTest::newRow("lone lead") << QByteArray("3\xA3") << 3;
    QTest::newRow("aligned pairs") << QByteArray("\xB0\xA3\xB1") << 0;
}

void TestTextFuzz::modelAgreesOnFixedCases() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(modelNumber(bytes), expected);
    QCOMPARE(gbkToInt(bytes), expected);
}

void TestTextFuzz::everyShortByteString() {
    for (int a = 0; a < 256; ++a) {
        const QByteArray one(1, static_cast<char>(a));
        if (const QByteArray m = mismatch(one); !m.isEmpty()) QFAIL(m.constData());
        for (int b = 0; b < 256; ++b) {
            if (const QByteArray m = mismatch(one + static_cast<char>(b)); !m.isEmpty()) {
                QFAIL(m.constData());
            }
        }
    }
}

// Each two-byte value inside a number and where the number would start: a fold
// that yields a digit, a sign or white space changes the result, anything else
// ends the number.
void TestTextFuzz::everyPairInsideANumber() {
    for (int a = 0x80; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const QByteArray pair = QByteArray(1, static_cast<char>(a)) + static_cast<char>(b);
            for (const QByteArray& bytes : {"1" + pair + "2", " " + pair + "3"}) {
                if (const QByteArray m = mismatch(bytes); !m.isEmpty()) QFAIL(m.constData());
            }
        }
    }
}

void TestTextFuzz::randomBytesMatchModel() {
    std::mt19937 rng(kSeed);
    for (int n = 0; n < 20000; ++n) {
        if (const QByteArray m = mismatch(randomBytes(rng)); !m.isEmpty()) {
            QFAIL((replay(n) + m).constData());
        }
    }
}

void TestTextFuzz::randomTextInvariants() {
    std::mt19937 rng(kSeed);
    for (int n = 0; n < 5000; ++n) {
        const QString s = randomText(rng);
        const QByteArray gbk = toGbk(s);
        QByteArray why;
        if (byteLength(s) != gbk.size()) {
            why = "byteLength " + QByteArray::number(byteLength(s));
        } else if (textToInt(s) != modelNumber(gbk)) {
            why = "textToInt " + QByteArray::number(textToInt(s)) + ", model " +
                  QByteArray::number(modelNumber(gbk));
        } else {
            why = gbkFault(s, gbk);
        }
        if (!why.isEmpty()) {
            QFAIL((replay(n) + "[" + describe(s) + "] -> [" + describe(gbk) + "]: " + why)
                      .constData());
        }
    }
}

// Digits, signs, point, space and letters typed in full width read exactly as the
// same text typed plainly.
void TestTextFuzz::fullWidthReadsLikePlain() {
    static const char kPlain[] = "0123456789+-. abx";
    std::mt19937 rng(kSeed);
    std::uniform_int_distribution<int> length(0, 14);
    std::uniform_int_distribution<int> pick(0, sizeof(kPlain) - 2);
    std::bernoulli_distribution wide(0.5);
    for (int n = 0; n < 5000; ++n) {
        QString plain;
        QString mixed;
        const int len = length(rng);
        for (int k = 0; k < len; ++k) {
            const char c = kPlain[pick(rng)];
            plain += QLatin1Char(c);
            if (!wide(rng)) {
                mixed += QLatin1Char(c);
            } else {
                mixed += c == ' ' ? QChar(0x3000) : QChar(static_cast<char16_t>(0xFEE0 + c));
            }
        }
        const std::int32_t got = textToInt(mixed);
        const std::int32_t want = modelNumber(plain.toLatin1());
        if (got != want) {
            QFAIL((replay(n) + "[" + describe(mixed) + "] gave " + QByteArray::number(got) +
                   ", plain " + QByteArray::number(want))
                      .constData());
        }
    }
}

QTEST_APPLESS_MAIN(TestTextFuzz)
#include "test_text_fuzz.moc"
