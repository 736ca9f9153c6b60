// Text and number rules: GBK conversion and length, the number rule on texts and on
// raw GBK bytes, the decimal form of integers, joining and comparing texts.

#include <QByteArray>
#include <QString>
#include <QtTest>

#include <cstdint>
#include <limits>

#include "services/text.h"

using namespace fc::services;

namespace {

QString text(const char16_t* s) { return QString::fromUtf16(s); }

// Lone surrogates cannot be written as string literals.
QString unit(char16_t u) { return QString(QChar(u)); }

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

}  // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    void textToInt_data();
    void textToInt();
    void textToIntOfNullText();

    void gbkToInt_data();
    void gbkToInt();

    void intToText_data();
    void intToText();
    void roundTrip_data();
    void roundTrip();

    void gbkBytes_data();
    void gbkBytes();
    void nullTextHasNoBytes();

    void join();
    void sameText_data();
    void sameText();
};

void TestText::textToInt_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("expected");

    // The table users see: what a typed entry turns into.
    QTest::newRow("73") << QStringLiteral("73") << 73;
    QTest::newRow("empty") << QStringLiteral("") << 0;
    QTest::newRow("12abc") << QStringLiteral("12abc") << 12;
    QTest::newRow("12.7 truncates, no rounding") << QStringLiteral("12.7") << 12;
    QTest::newRow("12 34") << QStringLiteral("12 34") << 12;
    QTest::newRow("-5") << QStringLiteral("-5") << -5;
    QTest::newRow("+5") << QStringLiteral("+5") << 5;
    QTest::newRow("- 5") << QStringLiteral("- 5") << 0;
    QTest::newRow("--5") << QStringLiteral("--5") << 0;
    QTest::newRow("+-5") << QStringLiteral("+-5") << 0;
    QTest::newRow("abc") << QStringLiteral("abc") << 0;
    QTest::newRow("0x1A, no hex") << QStringLiteral("0x1A") << 0;
    QTest::newRow("1e3, no exponent") << QStringLiteral("1e3") << 1;
    QTest::newRow("007") << QStringLiteral("007") << 7;
    QTest::newRow("-0") << QStringLiteral("-0") << 0;
    QTest::newRow("full-width 12") << text(u"１２") << 12;
    QTest::newRow("full-width -5") << text(u"－５") << -5;
    QTest::newRow("full-width +5") << text(u"＋５") << 5;

    // 32-bit wrap-around, never an error.
    QTest::newRow("2147483647") << QStringLiteral("2147483647") << kMax;
    QTest::newRow("2147483648 wraps") << QStringLiteral("2147483648") << kMin;
    QTest::newRow("-2147483648") << QStringLiteral("-2147483648") << kMin;
    QTest::newRow("-2147483649 wraps") << QStringLiteral("-2147483649") << kMax;
    QTest::newRow("4294967295") << QStringLiteral("4294967295") << -1;
    QTest::newRow("4294967296") << QStringLiteral("4294967296") << 0;
    QTest::newRow("eleven nines") << QStringLiteral("99999999999") << 1215752191;
    QTest::newRow("-eleven nines") << QStringLiteral("-99999999999") << -1215752191;
    QTest::newRow("leading zeros past 32 bits") << QStringLiteral("000000000000000000042") << 42;

    // Leading white space is exactly the bytes 09-0D and 20.
    QTest::newRow("tab") << QStringLiteral("\t7") << 7;
    QTest::newRow("newline") << QStringLiteral("\n7") << 7;
    QTest::newRow("vertical tab") << QStringLiteral("\v7") << 7;
    QTest::newRow("form feed") << QStringLiteral("\f7") << 7;
    QTest::newRow("carriage return") << QStringLiteral("\r7") << 7;
    QTest::newRow("all white space then sign") << QStringLiteral(" \t\n\v\f\r-8") << -8;
    QTest::newRow("0x1C is no white space") << QStringLiteral(
                                                   "\x1c"
                                                   "7")
                                            << 0;
    QTest::newRow("0x08 is no white space") << QStringLiteral("\b7") << 0;
    QTest::newRow("white space after sign") << QStringLiteral("-\t5") << 0;
    QTest::newRow("trailing white space") << QStringLiteral("5 ") << 5;
    QTest::newRow("no-break space is not in GBK") << text(u"\u00A05") << 0;

    // Full-width forms are folded before the number is read, so they mix freely
    // with plain ones.
    QTest::newRow("full-width space and digits") << text(u"\u3000１２") << 12;
    QTest::newRow("full-width space then plain digits") << text(u"\u300012") << 12;
    QTest::newRow("mixed widths 1２3") << text(u"1２3") << 123;
    QTest::newRow("full-width minus, plain digits") << text(u"－１2") << -12;
    QTest::newRow("full-width point ends") << text(u"１２．７") << 12;
    QTest::newRow("full-width minus, full-width space") << text(u"－\u3000５") << 0;
    QTest::newRow("full-width 0x1A") << text(u"０ｘ１Ａ") << 0;
    QTest::newRow("full-width 2147483648") << text(u"２１４７４８３６４８") << kMin;

    // A1AB folds to "~", A1EE/A1EF to "*": signs of no number, so they end it.
    QTest::newRow("12～3") << text(u"12～3") << 12;
    QTest::newRow("～5") << text(u"～5") << 0;
    QTest::newRow("☆5") << text(u"☆5") << 0;
    QTest::newRow("7★8") << text(u"7★8") << 7;

    // Other characters, in GBK or not, end the number.
    QTest::newRow("Chinese first") << text(u"活5") << 0;
    QTest::newRow("Chinese after") << text(u"5分钟") << 5;
    QTest::newRow("emoji first") << text(u"😀5") << 0;
    QTest::newRow("emoji between digits") << text(u"5😀6") << 5;
    QTest::newRow("〜 (not in GBK)") << text(u"12〜3") << 12;
    QTest::newRow("lone high surrogate") << (QStringLiteral("4") + unit(0xD800) + u'5') << 4;
    QTest::newRow("lone low surrogate first") << (unit(0xDC00) + QStringLiteral("5")) << 0;
    QTest::newRow("embedded zero ends the text")
        << QString(QStringLiteral("12") + QChar(0) + u'3') << 12;
}

void TestText::textToInt() {
    QFETCH(QString, input);
    QFETCH(int, expected);
    QCOMPARE(fc::services::textToInt(input), expected);
}

void TestText::textToIntOfNullText() {
    QCOMPARE(fc::services::textToInt(QString()), 0);
    QCOMPARE(fc::services::gbkToInt(QByteArray()), 0);
}

void TestText::gbkToInt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("plain") << QByteArray("-42") << -42;
    QTest::newRow("A1A1 then A3 digits") << QByteArray("\xA1\xA1\xA3\xB1\xA3\xB2") << 12;
    QTest::newRow("A3AD A3B5") << QByteArray("\xA3\xAD\xA3\xB5") << -5;
    QTest::newRow("A3AB A3B5") << QByteArray("\xA3\xAB\xA3\xB5") << 5;
    QTest::newRow("A3B0 A3B0 A3B7") << QByteArray("\xA3\xB0\xA3\xB0\xA3\xB7") << 7;

    // A lead byte with only the terminating zero after it is dropped.
    QTest::newRow("lone A3 at the end") << QByteArray("12\xA3") << 12;
    QTest::newRow("lone A3 alone") << QByteArray("\xA3") << 0;
    QTest::newRow("lone FF at the end") << QByteArray("-3\xFF") << -3;
    QTest::newRow("lone 80 at the end") << QByteArray("9\x80") << 9;
    QTest::newRow("full-width digit then lone lead") << QByteArray("\xA3\xB5\xA3") << 5;

    // Every byte from 80 up takes the next byte with it, whatever that byte is.
    QTest::newRow("lead swallows a digit") << QByteArray(
                                                  "\x81"
                                                  "5")
                                           << 0;
    QTest::newRow("lead swallows a digit mid-number") << QByteArray(
                                                             "1\x81"
                                                             "23")
                                                      << 1;
    QTest::newRow("80 swallows a digit") << QByteArray(
                                                "\x80"
                                                "5")
                                         << 0;
    // B0A3 and B1A3 are characters: no A3B1 is found across them.
    QTest::newRow("pairs stay aligned") << QByteArray("\xB0\xA3\xB1\xA3\xB2") << 0;
    QTest::newRow("realigned after ASCII") << QByteArray(" \xA3\xB1\xA3\xB2") << 12;

    // Only A3A1..A3FE fold; neighbours are copied unchanged and end the number.
    QTest::newRow("A3A0 unchanged") << QByteArray(
                                           "\xA3\xA0"
                                           "5")
                                    << 0;
    QTest::newRow("A3FF unchanged") << QByteArray(
                                           "\xA3\xFF"
                                           "5")
                                    << 0;
    QTest::newRow("A3A1 is !") << QByteArray(
                                      "\xA3\xA1"
                                      "5")
                               << 0;
    QTest::newRow("A4B1 is no digit") << QByteArray("\xA4\xB1") << 0;
    QTest::newRow("A2B1 is no digit") << QByteArray("\xA2\xB1") << 0;
    QTest::newRow("A1A2 is no space") << QByteArray(
                                             "\xA1\xA2"
                                             "5")
                                      << 0;
    QTest::newRow("A1AB is ~") << QByteArray(
                                      "12\xA1\xAB"
                                      "3")
                               << 12;
    QTest::newRow("A1EE is *") << QByteArray(
                                      "\xA1\xEE"
                                      "5")
                               << 0;
    QTest::newRow("A1EF is *") << QByteArray(
                                      "1\xA1\xEF"
                                      "2")
                               << 1;

    // The text ends at its zero byte.
    QTest::newRow("digits after zero") << QByteArray(
                                              "12\0"
                                              "34",
                                              5)
                                       << 12;
    QTest::newRow("zero right after a lead") << QByteArray(
                                                    "\xA3\0"
                                                    "5",
                                                    3)
                                             << 0;
    QTest::newRow("number, lead, zero") << QByteArray("7\xA3\0\xB5", 4) << 7;
    QTest::newRow("leading zero byte") << QByteArray(
                                              "\0"
                                              "5",
                                              2)
                                       << 0;
}

void TestText::gbkToInt() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QCOMPARE(fc::services::gbkToInt(bytes), expected);
}

void TestText::intToText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << 0 << QStringLiteral("0");
    QTest::newRow("7") << 7 << QStringLiteral("7");
    QTest::newRow("59") << 59 << QStringLiteral("59");
    QTest::newRow("100") << 100 << QStringLiteral("100");
    QTest::newRow("-5") << -5 << QStringLiteral("-5");
    QTest::newRow("1000000, no grouping") << 1000000 << QStringLiteral("1000000");
    QTest::newRow("min") << kMin << QStringLiteral("-2147483648");
    QTest::newRow("max") << kMax << QStringLiteral("2147483647");
}

void TestText::intToText() {
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(fc::services::intToText(value), expected);
}

void TestText::roundTrip_data() {
    QTest::addColumn<int>("value");
    for (const int v : {0, 1, -1, 9, 10, -10, 59, 99, 1215752191, -1215752191, 123456789, kMax,
                        kMax - 1, kMin, kMin + 1}) {
        QTest::addRow("%d", v) << v;
    }
}

void TestText::roundTrip() {
    QFETCH(int, value);
    QCOMPARE(fc::services::textToInt(fc::services::intToText(value)), value);
}

void TestText::gbkBytes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("gbk");

    // Byte values checked against iconv's GBK and CP936 tables.
    QTest::newRow("empty") << QStringLiteral("") << QByteArray();
    QTest::newRow("ASCII") << QStringLiteral("F2 key:05") << QByteArray("F2 key:05");
    QTest::newRow("活动") << text(u"活动") << QByteArray("\xBB\xEE\xB6\xAF");
    QTest::newRow("abc活动") << text(u"abc活动") << QByteArray("abc\xBB\xEE\xB6\xAF");
    QTest::newRow("时间到") << text(u"时间到") << QByteArray("\xCA\xB1\xBC\xE4\xB5\xBD");
    QTest::newRow("full-width space and digits")
        << text(u"\u3000１２") << QByteArray("\xA1\xA1\xA3\xB1\xA3\xB2");
    QTest::newRow("full-width minus") << text(u"－") << QByteArray("\xA3\xAD");
    QTest::newRow("～☆★") << text(u"～☆★") << QByteArray("\xA1\xAB\xA1\xEE\xA1\xEF");
    QTest::newRow("middle dot") << text(u"·") << QByteArray("\xA1\xA4");
    QTest::newRow("em dash") << text(u"—") << QByteArray("\xA1\xAA");
    QTest::newRow("horizontal bar") << text(u"―") << QByteArray("\xA8\x44");
    QTest::newRow("u umlaut") << text(u"ü") << QByteArray("\xA8\xB9");
    QTest::newRow("full-width yen") << text(u"￥") << QByteArray("\xA3\xA4");
    // Code page 936 holds the euro sign as the single byte 80.
    QTest::newRow("euro") << text(u"€") << QByteArray("\x80");
    QTest::newRow("euro between") << text(u"a€b")
                                  << QByteArray(
                                         "a\x80"
                                         "b");

    // Characters GBK lacks take the two-byte placeholder A1A0, one per character.
    QTest::newRow("emoji") << text(u"😀") << QByteArray("\xA1\xA0");
    QTest::newRow("emoji between ASCII") << text(u"a😀b")
                                         << QByteArray(
                                                "a\xA1\xA0"
                                                "b");
    QTest::newRow("two emoji") << text(u"😀😀") << QByteArray("\xA1\xA0\xA1\xA0");
    QTest::newRow("CJK extension B") << text(u"𠀀") << QByteArray("\xA1\xA0");
    QTest::newRow("wave dash") << text(u"〜") << QByteArray("\xA1\xA0");
    QTest::newRow("no-break space") << text(u"\u00A0") << QByteArray("\xA1\xA0");
    QTest::newRow("yen sign") << text(u"¥") << QByteArray("\xA1\xA0");
    QTest::newRow("lone high surrogate") << (unit(0xD83D) + u'a')
                                         << QByteArray(
                                                "\xA1\xA0"
                                                "a");
    QTest::newRow("lone high surrogate at the end")
        << (QStringLiteral("a") + unit(0xD83D)) << QByteArray("a\xA1\xA0");
    QTest::newRow("lone low surrogate") << (unit(0xDE00) + u'a')
                                        << QByteArray(
                                               "\xA1\xA0"
                                               "a");
    QTest::newRow("surrogates in the wrong order")
        << (unit(0xDE00) + unit(0xD83D)) << QByteArray("\xA1\xA0\xA1\xA0");
    QTest::newRow("high high low") << (unit(0xD83D) + text(u"😀")) << QByteArray("\xA1\xA0\xA1\xA0");
}

void TestText::gbkBytes() {
    QFETCH(QString, input);
    QFETCH(QByteArray, gbk);
    QCOMPARE(toGbk(input).toHex(' '), gbk.toHex(' '));
    QCOMPARE(byteLength(input), gbk.size());
}

void TestText::nullTextHasNoBytes() {
    QCOMPARE(byteLength(QString()), 0);
    QCOMPARE(byteLength(QStringView()), 0);
    QVERIFY(toGbk(QString()).isEmpty());
}

void TestText::join() {
    QCOMPARE(fc::services::join({u"05", u":", u"09"}), QStringLiteral("05:09"));
    QCOMPARE(fc::services::join({u"b", u"a"}), QStringLiteral("ba"));
    QCOMPARE(fc::services::join({u"时间", u"", u"到"}), text(u"时间到"));
    QCOMPARE(fc::services::join({u"only"}), QStringLiteral("only"));

    // Empty pieces still give a text, never an absent one.
    const QString emptyPieces = fc::services::join({u"", u""});
    QVERIFY(emptyPieces.isEmpty());
    QVERIFY(!emptyPieces.isNull());

    const QString absent;
    const QString absentPieces = fc::services::join({absent, absent});
    QVERIFY(absentPieces.isEmpty());
    QVERIFY(!absentPieces.isNull());

    const QString noPieces = fc::services::join({});
    QVERIFY(noPieces.isEmpty());
    QVERIFY(!noPieces.isNull());

    QCOMPARE(fc::services::join({absent, u"7"}), QStringLiteral("7"));
}

void TestText::sameText_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("identical") << QStringLiteral("abc") << QStringLiteral("abc") << true;
    QTest::newRow("Chinese") << text(u"滚动") << text(u"滚动") << true;
    QTest::newRow("both empty") << QStringLiteral("") << QStringLiteral("") << true;
    QTest::newRow("absent and empty") << QString() << QStringLiteral("") << true;
    QTest::newRow("absent and absent") << QString() << QString() << true;
    QTest::newRow("case counts") << QStringLiteral("Abc") << QStringLiteral("abc") << false;
    QTest::newRow("trailing space") << QStringLiteral("abc ") << QStringLiteral("abc") << false;
    QTest::newRow("leading space") << QStringLiteral(" abc") << QStringLiteral("abc") << false;
    QTest::newRow("prefix") << QStringLiteral("ab") << QStringLiteral("abc") << false;
    QTest::newRow("full-width vs plain") << text(u"１２") << QStringLiteral("12") << false;
    QTest::newRow("full-width space") << text(u"\u3000") << QStringLiteral(" ") << false;
    QTest::newRow("composed vs decomposed") << text(u"\u00E9") << text(u"e\u0301") << false;
    QTest::newRow("different Chinese") << text(u"滚动") << text(u"静止") << false;
    QTest::newRow("absent and a space") << QString() << QStringLiteral(" ") << false;
}

void TestText::sameText() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(fc::services::sameText(a, b), same);
    QCOMPARE(fc::services::sameText(b, a), same);
}

QTEST_APPLESS_MAIN(TestText)
#include "test_text.moc"
