// The display's widget-free rules: the time text and the layout arithmetic.
#include "display/layout.h"
#include "display/timetext.h"

#include <QTest>

#include <cstdint>
#include <limits>

using namespace fc::display;

namespace {

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

}  // namespace

class DisplayRulesTest : public QObject {
    Q_OBJECT
private slots:
    // The leading "0" depends on the length of the decimal text, not on the value:
    // 9 is padded, 10 is not, and no negative value ever is.
    void timeField_data() {
        QTest::addColumn<std::int32_t>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("0") << 0 << "00";
        QTest::newRow("7") << 7 << "07";
        QTest::newRow("9") << 9 << "09";
        QTest::newRow("10") << 10 << "10";
        QTest::newRow("75") << 75 << "75";
        QTest::newRow("99") << 99 << "99";
        QTest::newRow("100") << 100 << "100";
        QTest::newRow("-1") << -1 << "-1";
        QTest::newRow("-9") << -9 << "-9";
        QTest::newRow("-12") << -12 << "-12";
        QTest::newRow("INT_MAX") << kIntMax << "2147483647";
        QTest::newRow("INT_MIN") << kIntMin << "-2147483648";
    }
    void timeField() {
        QFETCH(std::int32_t, value);
        QFETCH(QString, field);
        QCOMPARE(TimeField(value), field);
    }

    void timeText_data() {
        QTest::addColumn<std::int32_t>("minutes");
        QTest::addColumn<std::int32_t>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("00:07") << 0 << 7 << "00:07";
        QTest::newRow("05:00") << 5 << 0 << "05:00";
        QTest::newRow("120:30") << 120 << 30 << "120:30";
        QTest::newRow("seconds not wrapped") << 1 << 75 << "01:75";
        QTest::newRow("negative seconds") << 3 << -1 << "03:-1";
        QTest::newRow("negative minutes") << -2 << 5 << "-2:05";
        QTest::newRow("00:00") << 0 << 0 << "00:00";
        QTest::newRow("100:05") << 100 << 5 << "100:05";
        QTest::newRow("-1:30") << -1 << 30 << "-1:30";
        QTest::newRow("03:-5") << 3 << -5 << "03:-5";
        QTest::newRow("extremes") << kIntMin << kIntMax << "-2147483648:2147483647";
        QTest::newRow("extremes swapped") << kIntMax << kIntMin << "2147483647:-2147483648";
    }
    void timeText() {
        QFETCH(std::int32_t, minutes);
        QFETCH(std::int32_t, seconds);
        QFETCH(QString, text);
        const QString got = TimeText(minutes, seconds);
        QCOMPARE(got, text);
        QVERIFY(!got.isNull());
    }

    // Band height, panel top/height and the panel's font size for a screen; H / 6
    // is kept fractional until the final truncation.
    void timePanelLayout_data() {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<qint64>("fontPoints");
        QTest::newRow("1920x1080") << 1920 << 1080 << 180 << 900 << qint64(360);
        QTest::newRow("1366x768") << 1366 << 768 << 128 << 640 << qint64(256);
        QTest::newRow("1680x1050") << 1680 << 1050 << 175 << 875 << qint64(350);
        // 170 * 5 would be 850 and 170 * 2 would be 340: the sixth is not cut first.
        QTest::newRow("1280x1024") << 1280 << 1024 << 170 << 853 << qint64(341);
        QTest::newRow("800x600") << 800 << 600 << 100 << 500 << qint64(200);
        QTest::newRow("1024x1023 (half sixth)") << 1024 << 1023 << 170 << 852 << qint64(341);
        QTest::newRow("7 high") << 9 << 7 << 1 << 5 << qint64(2);
        QTest::newRow("5 high: band empty") << 3 << 5 << 0 << 4 << qint64(1);
        QTest::newRow("1 high") << 1 << 1 << 0 << 0 << qint64(0);
        QTest::newRow("no screen") << 0 << 0 << 0 << 0 << qint64(0);
        QTest::newRow("INT_MAX high")
            << kIntMax << kIntMax << 357913941 << 1789569705 << qint64(715827882);
    }
    void timePanelLayout() {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(int, band);
        QFETCH(int, panelHeight);
        QFETCH(qint64, fontPoints);
        QCOMPARE(BandHeight(h), band);
        const PanelLayout panel = TimePanelLayout(w, h);
        QCOMPARE(panel.width, w);
        QCOMPARE(panel.top, band);  // the panel starts where the band's height ends
        QCOMPARE(panel.height, panelHeight);
        QCOMPARE(panel.fontPoints, fontPoints);
    }

    void scrollBandWidth_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("points");
        QTest::addColumn<qint64>("width");
        QTest::newRow("four Chinese characters at 73") << 8 << 73 << qint64(584);
        QTest::newRow("3 letters + 2 Chinese at 50") << 7 << 50 << qint64(350);
        QTest::newRow("empty title") << 0 << 73 << qint64(0);
        QTest::newRow("size read back 0") << 8 << 0 << qint64(0);
        // The largest size the layer reads back, times a long title: far beyond an
        // int, which the caller then clamps.
        QTest::newRow("10000 bytes at 24470") << 10000 << 24470 << qint64(244700000);
        QTest::newRow("past INT_MAX") << 65536 << 65536 << qint64(4294967296);
    }
    void scrollBandWidth() {
        QFETCH(int, bytes);
        QFETCH(int, points);
        QFETCH(qint64, width);
        QCOMPARE(ScrollBandWidth(bytes, points), width);
    }

    // INT_MAX squared is beyond a double's 53 bits: only near, but never wrapped.
    void scrollBandWidthDoesNotOverflow() {
        const std::int64_t exact = std::int64_t{kIntMax} * kIntMax;
        const std::int64_t got = ScrollBandWidth(kIntMax, kIntMax);
        QVERIFY2(got > 0, QByteArray::number(static_cast<qlonglong>(got)));
        QVERIFY2(got >= exact - 1024 && got <= exact + 1024,
                 QByteArray::number(static_cast<qlonglong>(got)));
    }

    // Out only exactly at left == -width: one column short is still in view, and the
    // sign matters.
    void scrolledOut_data() {
        QTest::addColumn<qint64>("left");
        QTest::addColumn<qint64>("width");
        QTest::addColumn<bool>("out");
        QTest::newRow("right edge at 0") << qint64(-584) << qint64(584) << true;
        QTest::newRow("last column visible") << qint64(-583) << qint64(584) << false;
        QTest::newRow("one past") << qint64(-585) << qint64(584) << false;
        QTest::newRow("positive left") << qint64(584) << qint64(584) << false;
        QTest::newRow("at start") << qint64(1920) << qint64(584) << false;
        QTest::newRow("empty band at 0") << qint64(0) << qint64(0) << true;
        QTest::newRow("empty band at 1") << qint64(1) << qint64(0) << false;
        QTest::newRow("widest band") << qint64(-32627) << qint64(32627) << true;
        QTest::newRow("widest band, one short") << qint64(-32626) << qint64(32627) << false;
    }
    void scrolledOut() {
        QFETCH(qint64, left);
        QFETCH(qint64, width);
        QFETCH(bool, out);
        QCOMPARE(ScrolledOut(left, width), out);
    }
};

QTEST_APPLESS_MAIN(DisplayRulesTest)
#include "test_display_rules.moc"
