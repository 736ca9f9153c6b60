// The real display window after set-up, read back from its widgets and from a
// rendering of it. The same binary runs once per screen size (see CMakeLists.txt):
// FC_TEST_SCREEN names the size the offscreen platform was configured with.
#include "display/display.h"
#include "services/threads.h"
#include "shell/programmain.h"
#include "shell/state.h"
#include "ui/colorpicker.h"
#include "ui/label.h"
#include "ui/layer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace fc;
using shell::CountdownSettings;
using shell::kDisplayWindow;
using shell::kSettingsWindow;
using ui::Layer;
using ui::Prop;
using ui::Ref;

namespace {

const QString kStaticMode = QStringLiteral("活动标题居中不滚动");
const QString kScrollMode = QStringLiteral("活动标题滚动播放");
const QString kTitle = QStringLiteral("活动名称");  // four Chinese characters, 8 bytes

const Ref kWindow{kDisplayWindow, {}};
const Ref kBandRef{kDisplayWindow, QStringLiteral("标签1")};
const Ref kPanelRef{kDisplayWindow, QStringLiteral("标签2")};
const Ref kScrollTimer{kDisplayWindow, QStringLiteral("时钟1")};
const Ref kPollTimer{kDisplayWindow, QStringLiteral("时钟2")};
const Ref kFlashTimer{kDisplayWindow, QStringLiteral("时钟3")};

// What the display must look like on each screen this binary is run on, at 96 dpi
// (one point is 4/3 pixel).
struct ScreenCase {
    int width;
    int height;
    int band;  // band height, and the panel's top
    int panelHeight;
    int panelPoints;
    int panelPixels;
};
constexpr ScreenCase kScreens[] = {
    {1920, 1080, 180, 900, 360, 480}, {1366, 768, 128, 640, 256, 341},
    {1680, 1050, 175, 875, 350, 467}, {1280, 1024, 170, 853, 341, 455},
    {800, 800, 133, 666, 266, 355},  // the offscreen platform's own default screen
};
constexpr int kTitlePoints = 73;
constexpr int kTitlePixels = 97;  // 73 * 4/3 = 97.33
// The layer caps a character height at kMaxFontPixels; read back in points at
// 96 dpi that is 32627 * 3/4 = 24470.25.
constexpr int kCappedPoints = 24470;

// Opening the display, painting included, must stay below this in every build:
// the debug and sanitizer builds measure far below it too (the figures are
// printed by each case).
constexpr qint64 kOpenLimitMs = 300;

// What the settings window holds when 开始计时 is pressed. A null mode means no
// entry selected.
struct Entry {
    QString minutes = QStringLiteral("5");
    QString seconds;
    QString flash = QStringLiteral("10");
    QString title = kTitle;
    QString size = QStringLiteral("73");
    QString mode = kStaticMode;
    ui::Color text = 0x0000FF;  // red
    ui::Color back = 0x804020;  // r 0x20, g 0x40, b 0x80: a red/blue mix-up shows
};

template <typename T>
T* part(const QString& window, const QString& name) {
    return qobject_cast<T*>(Layer::instance().widget({window, name}));
}

QRgb rgbOf(ui::Color c) { return ui::toQColor(c).rgb(); }

// Fills the settings window's controls through their widgets, as a user would
// have left them.
bool enter(const Entry& e) {
    const std::pair<const char16_t*, const QString*> edits[] = {
        {u"编辑框1", &e.minutes}, {u"编辑框2", &e.seconds}, {u"编辑框3", &e.flash},
        {u"编辑框4", &e.title},   {u"编辑框5", &e.size},
    };
    for (const auto& [name, text] : edits) {
        auto* edit = part<QLineEdit>(kSettingsWindow, QString::fromUtf16(name));
        if (edit == nullptr) return false;
        edit->setText(*text);
    }
    auto* combo = part<QComboBox>(kSettingsWindow, QStringLiteral("组合框1"));
    auto* textPicker = part<ui::ColorPicker>(kSettingsWindow, QStringLiteral("颜色选择器1"));
    auto* backPicker = part<ui::ColorPicker>(kSettingsWindow, QStringLiteral("颜色选择器2"));
    if (combo == nullptr || textPicker == nullptr || backPicker == nullptr) return false;
    if (e.mode.isNull()) {
        combo->setCurrentIndex(-1);
    } else {
        // Entries the list does not offer are added, to see what set-up makes of them.
        if (combo->findText(e.mode) < 0) combo->addItem(e.mode);
        combo->setCurrentIndex(combo->findText(e.mode));
    }
    textPicker->setColor(e.text);
    backPicker->setColor(e.back);
    return true;
}

struct Opened {
    QWidget* window = nullptr;
    ui::Label* band = nullptr;
    ui::Label* panel = nullptr;
    QImage image;
    qint64 ms = 0;
};

// Loads the display as 开始计时 would, but without the nested loop, and renders
// it. The time taken covers set-up and the first full paint.
std::optional<Opened> openDisplay() {
    Opened o;
    QElapsedTimer timer;
    timer.start();
    if (!Layer::instance().load(kDisplayWindow, false)) return std::nullopt;
    o.window = Layer::instance().widget(kWindow);
    if (o.window == nullptr) return std::nullopt;
    o.image = o.window->grab().toImage();
    o.ms = timer.elapsed();
    o.band = part<ui::Label>(kDisplayWindow, QStringLiteral("标签1"));
    o.panel = part<ui::Label>(kDisplayWindow, QStringLiteral("标签2"));
    if (o.band == nullptr || o.panel == nullptr) return std::nullopt;
    return o;
}

struct Ink {
    int count = 0;
    QRect bounds;
};

// Pixels of exactly `colour` inside `area`: the solid inside of glyphs.
Ink inkIn(const QImage& image, QRect area, QRgb colour) {
    Ink ink;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != colour) continue;
            ++ink.count;
            ink.bounds |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

long peakRssKb() {
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

}  // namespace

class DisplaySetupTest : public QObject {
    Q_OBJECT

    ScreenCase screen_{};

    // Settings window open with `e` entered, display loaded and rendered.
    std::optional<Opened> open(const Entry& e) {
        if (!enter(e)) return std::nullopt;
        return openDisplay();
    }

private slots:
    void initTestCase() {
        // A failure inside the layer ends the process; say why instead of waiting on
        // a message box nobody can close.
        ui::setFatalReporter([](const QString& title, const QString& text) {
            qCritical("%s: %s", qPrintable(title), qPrintable(text));
        });
        const QScreen* primary = QGuiApplication::primaryScreen();
        QVERIFY(primary != nullptr);
        const QSize size = primary->geometry().size();
        // A screen file the platform did not take would leave every run on the
        // default screen: the size asked for must be the size we got.
        const QByteArray wanted = qgetenv("FC_TEST_SCREEN");
        if (!wanted.isEmpty()) {
            QCOMPARE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                     QString::fromLatin1(wanted));
        }
        QCOMPARE(primary->logicalDotsPerInchY(), 96.0);
        bool found = false;
        for (const ScreenCase& s : kScreens) {
            if (s.width == size.width() && s.height == size.height()) {
                screen_ = s;
                found = true;
            }
        }
        QVERIFY2(found, "no expected layout for this screen size");

        // One display first, so the figures below are not the process's one-off
        // font database set-up.
        init();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(open(Entry{}).has_value());
        qInfo("first display on %dx%d: %lld ms", screen_.width, screen_.height,
              static_cast<long long>(timer.elapsed()));
        cleanup();
    }

    void init() {
        Layer& layer = Layer::instance();
        layer.closeAll();
        shell::PrepareWindows();
        shell::countdownThread = 0;
        shell::isRunning = 0;
        QVERIFY(layer.load(kSettingsWindow, false));
    }

    void cleanup() {
        services::endThread(shell::countdownThread);
        shell::countdownThread = 0;
        Layer::instance().closeAll();
    }

    // Everything set-up writes, in both title modes, on this binary's screen.
    void layoutOnThisScreen_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("scrolling");
        QTest::newRow("static") << kStaticMode << false;
        QTest::newRow("scrolling") << kScrollMode << true;
    }
    void layoutOnThisScreen() {
        QFETCH(QString, mode);
        QFETCH(bool, scrolling);
        const ScreenCase s = screen_;
        Entry e;
        e.mode = mode;
        const auto o = open(e);
        QVERIFY(o.has_value());
        Layer& layer = Layer::instance();

        // The window covers the screen exactly, with no frame around its client area.
        QVERIFY(o->window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(o->window->geometry(), QRect(0, 0, s.width, s.height));
        QCOMPARE(o->window->frameGeometry(), QRect(0, 0, s.width, s.height));
        QCOMPARE(layer.readNumber(kWindow, Prop::Left), 0);
        QCOMPARE(layer.readNumber(kWindow, Prop::Top), 0);
        QCOMPARE(layer.readNumber(kWindow, Prop::Width), s.width);
        QCOMPARE(layer.readNumber(kWindow, Prop::Height), s.height);
        QCOMPARE(layer.readNumber(kWindow, Prop::BackColor), e.back);

        // The settings as they stood in the settings window.
        QCOMPARE(CountdownSettings.textColor, e.text);
        QCOMPARE(CountdownSettings.backColor, e.back);
        QCOMPARE(CountdownSettings.titleText, e.title);
        QCOMPARE(CountdownSettings.titleSizeText, e.size);
        QCOMPARE(CountdownSettings.titleModeText, e.mode);
        QCOMPARE(CountdownSettings.startMinutes.load(), 5);
        QCOMPARE(CountdownSettings.startSeconds.load(), 0);  // empty box
        QCOMPARE(CountdownSettings.flashSeconds.load(), 10);

        // The title band.
        ui::Label* band = o->band;
        const QRect bandPlace =
            scrolling ? QRect(s.width, 4, 8 * kTitlePoints, s.band) : QRect(2, 4, s.width, s.band);
        QCOMPARE(band->geometry(), bandPlace);
        QCOMPARE(band->caption(), kTitle);
        QCOMPARE(band->fontSizePoints(), kTitlePoints);
        QCOMPARE(band->fontPixelHeight(), kTitlePixels);
        QCOMPARE(band->font().pixelSize(), kTitlePixels);
        QCOMPARE(band->font().family(), QApplication::font().family());  // no face of its own
        QCOMPARE(band->textColor(), e.text);
        QCOMPARE(band->backColor(), e.back);
        QCOMPARE(band->hAlign(), scrolling ? ui::Align::Near : ui::Align::Center);
        QCOMPARE(band->vAlign(), ui::Align::Center);
        QCOMPARE(layer.readNumber(kScrollTimer, Prop::Period), scrolling ? 10 : 0);

        // The time panel.
        ui::Label* panel = o->panel;
        QCOMPARE(panel->geometry(), QRect(2, s.band, s.width, s.panelHeight));
        QCOMPARE(panel->caption(), QStringLiteral("05:00"));
        QCOMPARE(panel->fontSizePoints(), s.panelPoints);
        QCOMPARE(panel->fontPixelHeight(), s.panelPixels);
        QCOMPARE(panel->font().family(), QString::fromUtf16(display::kTimeFace));
        QCOMPARE(panel->font().weight(), QFont::Normal);
        QVERIFY(!panel->font().italic());
        QCOMPARE(panel->textColor(), e.text);
        QCOMPARE(panel->backColor(), e.back);
        QCOMPARE(panel->hAlign(), ui::Align::Center);
        QCOMPARE(panel->vAlign(), ui::Align::Center);

        QCOMPARE(layer.readNumber(kPollTimer, Prop::Period), 200);
        QCOMPARE(layer.readNumber(kFlashTimer, Prop::Period), 0);

        // The panel lies above the band where they overlap (the band's last 4 rows).
        const QObjectList& children = o->window->children();
        QVERIFY(children.indexOf(panel) > children.indexOf(band));
        for (int y = s.band; y < s.band + 4; ++y) {
            QCOMPARE(o->window->childAt(s.width / 2, y), panel);
        }
        QCOMPARE(o->window->childAt(s.width / 2, s.band - 1), scrolling ? nullptr : band);
        QCOMPARE(o->window->childAt(1, s.height / 2), nullptr);  // left of both labels
        QCOMPARE(o->window->childAt(s.width / 2, 3), nullptr);   // above the band

        // What reaches the screen.
        const QImage& image = o->image;
        QCOMPARE(image.size(), QSize(s.width, s.height));
        const QRgb back = rgbOf(e.back);
        const QRgb text = rgbOf(e.text);
        // Uncovered: the two left columns, the top four rows and a last row left
        // when H is not a multiple of 6 show the window's own background.
        QCOMPARE(image.pixel(0, 0), back);
        QCOMPARE(image.pixel(1, s.height / 2), back);
        QCOMPARE(image.pixel(s.width / 2, 3), back);
        QCOMPARE(image.pixel(s.width - 1, s.height - 1), back);
        // Inside the panel, clear of the digits.
        QCOMPARE(image.pixel(s.width - 10, s.band + 5), back);

        // The digits: drawn in the text colour, centred in the panel. The panel is
        // 2 pixels right of the screen's left, so its middle is at 2 + W/2.
        const Ink digits = inkIn(image, QRect(0, s.band, s.width, s.panelHeight), text);
        QVERIFY2(digits.count > s.panelPixels, "no digits in the panel");
        const int panelMiddleX = 2 + s.width / 2;
        const int digitsMiddleX = digits.bounds.center().x();
        QVERIFY2(qAbs(digitsMiddleX - panelMiddleX) <= s.width / 100,
                 qPrintable(QStringLiteral("digits centred at x %1").arg(digitsMiddleX)));
        const int panelMiddleY = s.band + s.panelHeight / 2;
        QVERIFY2(
            qAbs(digits.bounds.center().y() - panelMiddleY) <= s.panelHeight / 8,
            qPrintable(QStringLiteral("digits centred at y %1").arg(digits.bounds.center().y())));

        // The title: centred in the band when static; when scrolling it starts beyond
        // the right edge, so nothing of it shows yet.
        const Ink title = inkIn(image, QRect(0, 0, s.width, s.band), text);
        if (scrolling) {
            QCOMPARE(title.count, 0);
        } else {
            QVERIFY2(title.count > kTitlePixels, "no title in the band");
            QVERIFY2(
                qAbs(title.bounds.center().x() - panelMiddleX) <= s.width / 100,
                qPrintable(QStringLiteral("title centred at x %1").arg(title.bounds.center().x())));
            QVERIFY(title.bounds.top() >= 4);
        }
    }

    // Only the byte-exact entry scrolls; anything else, however close, stays static.
    void titleModeChosenByExactText_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("scrolling");
        QTest::newRow("scrolling entry") << kScrollMode << true;
        QTest::newRow("static entry") << kStaticMode << false;
        QTest::newRow("trailing space") << kScrollMode + u' ' << false;
        QTest::newRow("leading space") << u' ' + kScrollMode << false;
        QTest::newRow("one character short") << kScrollMode.chopped(1) << false;
        QTest::newRow("nothing selected") << QString() << false;
    }
    void titleModeChosenByExactText() {
        QFETCH(QString, mode);
        QFETCH(bool, scrolling);
        Entry e;
        e.mode = mode;
        const auto o = open(e);
        QVERIFY(o.has_value());
        QCOMPARE(o->band->x(), scrolling ? screen_.width : 2);
        QCOMPARE(o->band->width(), scrolling ? 8 * kTitlePoints : screen_.width);
        QCOMPARE(o->band->hAlign(), scrolling ? ui::Align::Near : ui::Align::Center);
        QCOMPARE(Layer::instance().readNumber(kScrollTimer, Prop::Period), scrolling ? 10 : 0);
    }

    // A scrolling band is the caption's bytes times the size read back, wherever
    // the title and size come from.
    void scrollingBandWidth_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("width");
        QTest::newRow("4 Chinese at 73") << kTitle << "73" << 584;
        QTest::newRow("3 letters + 2 Chinese at 50") << QStringLiteral("abc活动") << "50" << 350;
        QTest::newRow("full-width size") << QStringLiteral("ab") << QStringLiteral("７３") << 146;
        QTest::newRow("empty title") << QString() << "73" << 0;
        QTest::newRow("empty size") << kTitle << QString() << 0;
        QTest::newRow("negative size") << kTitle << "-73" << 0;
        // The size as read back, not as entered: one byte at the capped height.
        QTest::newRow("one byte, size 99999") << QStringLiteral("a") << "99999" << kCappedPoints;
    }
    void scrollingBandWidth() {
        QFETCH(QString, title);
        QFETCH(QString, size);
        QFETCH(int, width);
        Entry e;
        e.title = title;
        e.size = size;
        e.mode = kScrollMode;
        const auto o = open(e);
        QVERIFY(o.has_value());
        QCOMPARE(o->band->geometry(), QRect(screen_.width, 4, width, screen_.band));
        QCOMPARE(Layer::instance().readNumber(kScrollTimer, Prop::Period), 10);
    }

    void startTime_data() {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("caption");
        QTest::newRow("5 and empty") << "5" << QString() << "05:00";
        QTest::newRow("both empty") << QString() << QString() << "00:00";
        QTest::newRow("-1:30") << "-1"
                               << "30"
                               << "-1:30";
        QTest::newRow("03:-5") << "3"
                               << "-5"
                               << "03:-5";
        QTest::newRow("100:05") << "100"
                                << "5"
                                << "100:05";
        QTest::newRow("seconds above 59") << "1"
                                          << "75"
                                          << "01:75";
        QTest::newRow("full-width minutes") << QStringLiteral("１２") << "7"
                                            << "12:07";
        QTest::newRow("leading zeros") << "007"
                                       << "09"
                                       << "07:09";
    }
    void startTime() {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(QString, caption);
        Entry e;
        e.minutes = minutes;
        e.seconds = seconds;
        const auto o = open(e);
        QVERIFY(o.has_value());
        QCOMPARE(o->panel->caption(), caption);
    }

    // The start time ends the recorded worker: one left running when a display is
    // set up, and one writing the panel when the time is reset.
    void startTimeEndsRecordedWorker() {
        shell::isRunning = 1;
        shell::countdownThread = services::startThread([] {
            while (services::waitMs(1)) {
            }
        });
        QVERIFY(shell::countdownThread != 0);
        QCOMPARE(services::liveThreadCount(), 1);
        Entry e;
        e.minutes = QStringLiteral("3");
        e.seconds = QStringLiteral("-5");
        const auto o = open(e);
        QVERIFY(o.has_value());
        QCOMPARE(services::liveThreadCount(), 0);
        QCOMPARE(o->panel->caption(), QStringLiteral("03:-5"));

        // Shared, so a worker left running by a failed check never counts into a dead frame.
        auto writes = std::make_shared<std::atomic<int>>(0);
        shell::countdownThread = services::startThread([writes] {
            while (services::waitMs(1)) {
                Layer::instance().writeText(kPanelRef, Prop::Caption, QStringLiteral("99:99"));
                ++*writes;
            }
        });
        QVERIFY(shell::countdownThread != 0);
        QTRY_COMPARE(o->panel->caption(), QStringLiteral("99:99"));
        display::ShowStartTime();
        QCOMPARE(services::liveThreadCount(), 0);
        const int written = writes->load();
        QCOMPARE(o->panel->caption(), QStringLiteral("03:-5"));
        QTest::qWait(20);  // nothing of the ended worker may land later
        QCOMPARE(o->panel->caption(), QStringLiteral("03:-5"));
        QCOMPARE(writes->load(), written);
        QCOMPARE(shell::isRunning.load(), 1);  // not its business
    }

    // The way the program opens it: 开始计时 loads the display modally, and set-up
    // is done before the nested loop hands control to anything else.
    void openedModallyByStartButton() {
        Entry e;
        e.mode = kScrollMode;
        QVERIFY(enter(e));
        auto* start = part<QPushButton>(kSettingsWindow, QStringLiteral("开始计时"));
        QVERIFY(start != nullptr);
        QRect windowPlace;
        QRect bandPlace;
        QString caption;
        bool settingsEnabled = true;
        QTimer::singleShot(0, qApp, [&] {
            Layer& layer = Layer::instance();
            if (QWidget* w = layer.widget(kWindow)) windowPlace = w->geometry();
            if (QWidget* b = layer.widget(kBandRef)) bandPlace = b->geometry();
            if (auto* p = qobject_cast<ui::Label*>(layer.widget(kPanelRef))) caption = p->caption();
            settingsEnabled = layer.widget({kSettingsWindow, {}})->isEnabled();
            layer.destroy(kDisplayWindow);
        });
        start->click();  // returns once the display is gone
        QVERIFY(!Layer::instance().exists(kDisplayWindow));
        QCOMPARE(windowPlace, QRect(0, 0, screen_.width, screen_.height));
        // The band may have been moved by a scroll tick or two by then.
        QVERIFY2(bandPlace.x() <= screen_.width && bandPlace.x() > screen_.width - 50,
                 qPrintable(QStringLiteral("band at x %1").arg(bandPlace.x())));
        QCOMPARE(bandPlace.size(), QSize(8 * kTitlePoints, screen_.band));
        QCOMPARE(caption, QStringLiteral("05:00"));
        QVERIFY(!settingsEnabled);
    }

    // Hostile settings still give a sane display, quickly and without a memory
    // blow-up. Sizes that overflow the character height are capped by the layer;
    // sizes of 0 or below fall back to the default font.
    void badInputStaysSaneAndFast_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<int>("points");  // read back from the band
        QTest::addColumn<int>("bandWidth");
        QTest::addColumn<QString>("caption");
        const QString longTitle = kTitle.repeated(1250);  // 5000 characters, 10000 bytes
        const struct {
            const char* name;
            QString size;
            int points;
            int scrollWidth;
        } sizes[] = {
            {"size INT_MAX", QStringLiteral("2147483647"), kCappedPoints, ui::kMaxCoordinate},
            {"size INT_MIN", QStringLiteral("-2147483648"), 0, 0},
            {"size 0", QStringLiteral("0"), 0, 0},
            {"size 99999", QStringLiteral("99999"), kCappedPoints, ui::kMaxCoordinate},
        };
        for (const auto& s : sizes) {
            QTest::addRow("%s, static", s.name) << kTitle << s.size << kStaticMode << "5"
                                                << "" << s.points << screen_.width << "05:00";
            QTest::addRow("%s, scrolling", s.name) << kTitle << s.size << kScrollMode << "5"
                                                   << "" << s.points << s.scrollWidth << "05:00";
        }
        QTest::newRow("minutes INT_MAX, seconds -1")
            << kTitle << "73" << kStaticMode << "2147483647"
            << "-1" << kTitlePoints << screen_.width << "2147483647:-1";
        QTest::newRow("empty title, scrolling") << QString() << "73" << kScrollMode << "5"
                                                << "" << kTitlePoints << 0 << "05:00";
        QTest::newRow("5000 characters, static") << longTitle << "73" << kStaticMode << "5"
                                                 << "" << kTitlePoints << screen_.width << "05:00";
        QTest::newRow("5000 characters, scrolling")
            << longTitle << "73" << kScrollMode << "5"
            << "" << kTitlePoints << ui::kMaxCoordinate << "05:00";
    }
    void badInputStaysSaneAndFast() {
        QFETCH(QString, title);
        QFETCH(QString, size);
        QFETCH(QString, mode);
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(int, points);
        QFETCH(int, bandWidth);
        QFETCH(QString, caption);
        Entry e;
        e.title = title;
        e.size = size;
        e.mode = mode;
        e.minutes = minutes;
        e.seconds = seconds;
        QVERIFY(enter(e));
        const long rssBefore = peakRssKb();
        const auto o = openDisplay();
        QVERIFY(o.has_value());
        const long rssGrowthKb = peakRssKb() - rssBefore;
        qInfo("%s on %dx%d: open and paint %lld ms, peak memory +%ld KiB", QTest::currentDataTag(),
              screen_.width, screen_.height, static_cast<long long>(o->ms), rssGrowthKb);
        QVERIFY2(o->ms < kOpenLimitMs, qPrintable(QStringLiteral("%1 ms").arg(o->ms)));
        QVERIFY2(rssGrowthKb < 256 * 1024, qPrintable(QStringLiteral("+%1 KiB").arg(rssGrowthKb)));

        ui::Label* band = o->band;
        QCOMPARE(band->caption(), title);
        QCOMPARE(band->fontSizePoints(), points);
        if (points == 0) {
            QCOMPARE(band->fontPixelHeight(), 0);
            // The platform's default height, not a zero-sized font.
            QCOMPARE(band->font().pixelSize(), -1);
            QCOMPARE(band->font().pointSizeF(), QApplication::font().pointSizeF());
        } else if (points == kCappedPoints) {
            QCOMPARE(band->fontPixelHeight(), ui::kMaxFontPixels);
            QCOMPARE(band->font().pixelSize(), ui::kMaxFontPixels);
        }
        const bool scrolling = mode == kScrollMode;
        QCOMPARE(band->geometry(),
                 QRect(scrolling ? screen_.width : 2, 4, bandWidth, screen_.band));
        QCOMPARE(o->panel->caption(), caption);
        QCOMPARE(o->panel->geometry(), QRect(2, screen_.band, screen_.width, screen_.panelHeight));

        // Whatever the title does, the panel's digits are drawn, and the window is
        // still live afterwards.
        const Ink digits = inkIn(
            o->image, QRect(0, screen_.band, screen_.width, screen_.panelHeight), rgbOf(e.text));
        QVERIFY(digits.count > 0);
        QTest::qWait(30);  // a few scroll ticks in scrolling mode
        QVERIFY(Layer::instance().isOpen(kDisplayWindow));
    }
};

QTEST_MAIN(DisplaySetupTest)
#include "test_display_setup.moc"
