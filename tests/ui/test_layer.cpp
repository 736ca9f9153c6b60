// The window layer on a small design of its own: loading, destroying, modal runs,
// properties and their limits, timers, keyboard rules and writes from a worker.
#include "services/threads.h"
#include "ui/label.h"
#include "ui/layer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <thread>

using namespace fc;
using ui::Layer;
using ui::Prop;
using ui::Ref;

namespace {

const QString kMain = QStringLiteral("Main");
const QString kPopup = QStringLiteral("Popup");

int g_createdCount = 0;
int g_ticks = 0;
std::function<void()> g_onCreated;
std::function<void()> g_onTick;

ui::ComponentDesign makeLabel(const QString& name, QRect place, const QString& caption) {
    ui::LabelSettings s;
    s.caption = caption;
    s.backColor = 0x00FFFFFF;
    return {name, place, s, {}, true, true, false};
}

ui::ComponentDesign makeEdit(const QString& name, QRect place) {
    return {name, place, ui::EditBoxSettings{}, {}, true, true, true};
}

ui::WindowDesign mainDesign() {
    ui::WindowDesign w;
    w.title = QStringLiteral("main");
    w.border = ui::Border::Fixed;
    w.outerSize = QSize(300, 200);
    w.escCloses = true;
    ui::ButtonSettings b;
    b.caption = QStringLiteral("go");
    w.components = {
        makeEdit(QStringLiteral("e3"), QRect(10, 90, 50, 20)),
        makeEdit(QStringLiteral("e2"), QRect(10, 60, 50, 20)),
        {QStringLiteral("skip"),
         QRect(100, 60, 50, 20),
         ui::EditBoxSettings{},
         {},
         true,
         true,
         false},
        makeEdit(QStringLiteral("e1"), QRect(10, 30, 50, 20)),
        {QStringLiteral("b"), QRect(200, 150, 60, 30), b, [] {}, true, true, true},
        makeLabel(QStringLiteral("l"), QRect(10, 5, 100, 20), QStringLiteral("caption")),
    };
    return w;
}

ui::WindowDesign popupDesign() {
    ui::WindowDesign w;
    w.border = ui::Border::None;
    w.outerSize = QSize(400, 300);
    w.onCreated = [] {
        ++g_createdCount;
        if (g_onCreated) g_onCreated();
    };
    w.components = {
        {QStringLiteral("t"), QRect(), ui::TimerSettings{0},
         [] {
             ++g_ticks;
             if (g_onTick) g_onTick();
         },
         false, true, false},
        makeLabel(QStringLiteral("l"), QRect(2, 4, 100, 50), QStringLiteral("活动名称")),
    };
    return w;
}

// Where text colour shows in a rendered label: the columns and rows that hold it.
struct Ink {
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
};
Ink inkOf(ui::Label* label) {
    const QImage img = label->grab().toImage();
    Ink ink;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixelColor(x, y) == QColor(Qt::red)) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

// Runs `fn` from the event loop of whatever load is running, once.
void later(int ms, std::function<void()> fn) { QTimer::singleShot(ms, qApp, std::move(fn)); }

}  // namespace

class LayerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Layer& layer = Layer::instance();
        layer.closeAll();
        layer.prepare();
        layer.setDesign(kMain, mainDesign());
        layer.setDesign(kPopup, popupDesign());
        g_createdCount = 0;
        g_ticks = 0;
        g_onCreated = nullptr;
        g_onTick = nullptr;
    }
    void cleanup() { Layer::instance().closeAll(); }

    void loadCreatesFromDesignAndReloadOnlyActivates() {
        Layer& layer = Layer::instance();
        QVERIFY(layer.load(kPopup, false));
        QCOMPARE(g_createdCount, 1);
        layer.writeText({kPopup, "l"}, Prop::Caption, QStringLiteral("changed"));
        QVERIFY(layer.load(kPopup, false));  // already open
        QCOMPARE(g_createdCount, 1);
        QCOMPARE(layer.readText({kPopup, "l"}, Prop::Caption), QStringLiteral("changed"));
    }

    void destroyIsDeferredAndForgetsWrites() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        layer.writeText({kPopup, "l"}, Prop::Caption, QStringLiteral("changed"));
        layer.writeNumber({kPopup, "t"}, Prop::Period, 5);
        layer.destroy(kPopup);
        QVERIFY(layer.exists(kPopup));  // still there until the event loop runs
        QVERIFY(!layer.isOpen(kPopup));
        QTRY_VERIFY(!layer.exists(kPopup));
        layer.load(kPopup, false);
        QCOMPARE(g_createdCount, 2);
        QCOMPARE(layer.readText({kPopup, "l"}, Prop::Caption), QStringLiteral("活动名称"));
        QCOMPARE(layer.readNumber({kPopup, "t"}, Prop::Period), 0);
    }

    void noTickAfterDestroyRequest() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        g_onTick = [] { Layer::instance().destroy(kPopup); };
        layer.writeNumber({kPopup, "t"}, Prop::Period, 1);
        QTRY_VERIFY(!layer.exists(kPopup));
        QCOMPARE(g_ticks, 1);
        QTest::qWait(20);
        QCOMPARE(g_ticks, 1);
    }

    void modalLoadRunsNestedLoopAndRestoresEnabledState() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        QWidget* main = layer.widget({kMain, {}});
        bool mainDisabledWhileModal = false;
        bool returned = false;
        bool ownedByMain = false;
        later(20, [&] {
            mainDisabledWhileModal = !main->isEnabled();
            // Owned by the window behind it: no taskbar button of its own.
            QWindow* handle = Layer::instance().widget({kPopup, {}})->windowHandle();
            ownedByMain = handle != nullptr && handle->transientParent() == main->windowHandle();
            QVERIFY(!returned);
            Layer::instance().destroy(kPopup);
        });
        QVERIFY(layer.load(kPopup, true));
        returned = true;
        QVERIFY(mainDisabledWhileModal);
        QVERIFY(ownedByMain);
        QVERIFY(main->isEnabled());
        QVERIFY(!layer.exists(kPopup));
    }

    void modalLoadKeepsADisabledWindowDisabled() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        QWidget* main = layer.widget({kMain, {}});
        main->setEnabled(false);
        later(10, [] { Layer::instance().destroy(kPopup); });
        layer.load(kPopup, true);
        QVERIFY(!main->isEnabled());
    }

    void createdHandlerRunsBeforeShowAndMayMoveTheWindow() {
        Layer& layer = Layer::instance();
        bool visibleInHandler = true;
        g_onCreated = [&] {
            visibleInHandler = Layer::instance().widget({kPopup, {}})->isVisible();
            Layer::instance().writeNumber({kPopup, {}}, Prop::Left, 0);
            Layer::instance().writeNumber({kPopup, {}}, Prop::Top, 0);
            Layer::instance().writeNumber({kPopup, {}}, Prop::Width, 640);
        };
        layer.load(kPopup, false);
        QVERIFY(!visibleInHandler);
        QCOMPARE(layer.readNumber({kPopup, {}}, Prop::Left), 0);
        QCOMPARE(layer.readNumber({kPopup, {}}, Prop::Width), 640);
        QVERIFY(layer.widget({kPopup, {}})->isVisible());
    }

    void windowIsCentredAtLoad() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(layer.readNumber({kPopup, {}}, Prop::Left), (screen.width() - 400) / 2);
        QCOMPARE(layer.readNumber({kPopup, {}}, Prop::Top), (screen.height() - 300) / 2);
    }

    void placesAreClamped_data() {
        QTest::addColumn<int>("prop");
        QTest::addColumn<qint64>("written");
        QTest::addColumn<qint64>("read");
        QTest::newRow("width -5") << int(Prop::Width) << qint64(-5) << qint64(0);
        QTest::newRow("height huge") << int(Prop::Height) << qint64(1) << qint64(1);
        QTest::newRow("width above limit") << int(Prop::Width) << qint64(40000) << qint64(32627);
        QTest::newRow("left above limit") << int(Prop::Left) << qint64(99999) << qint64(32627);
        QTest::newRow("left below limit") << int(Prop::Left) << qint64(-99999) << qint64(-32627);
        QTest::newRow("top int64") << int(Prop::Top) << qint64(1) << qint64(1);
        QTest::newRow("top far below")
            << int(Prop::Top) << qint64(-(qint64(1) << 40)) << qint64(-32627);
    }
    void placesAreClamped() {
        QFETCH(int, prop);
        QFETCH(qint64, written);
        QFETCH(qint64, read);
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        const Ref label{kPopup, "l"};
        layer.writeNumber(label, Prop(prop), written);
        QCOMPARE(layer.readNumber(label, Prop(prop)), read);
    }

    void placesOfAClosedWindowGoIntoItsDesign() {
        Layer& layer = Layer::instance();
        layer.writeNumber({kPopup, "l"}, Prop::Left, 77);
        layer.writeNumber({kPopup, "l"}, Prop::Width, -3);
        QCOMPARE(layer.readNumber({kPopup, "l"}, Prop::Left), 77);
        layer.load(kPopup, false);
        QCOMPARE(layer.widget({kPopup, "l"})->geometry(), QRect(77, 4, 0, 50));
    }

    void fontSizeRoundTrip_data() {
        QTest::addColumn<qint64>("points");
        QTest::addColumn<int>("readBack");
        QTest::newRow("73") << qint64(73) << 73;
        QTest::newRow("360") << qint64(360) << 360;
        QTest::newRow("1") << qint64(1) << 1;
        QTest::newRow("0 gives the default") << qint64(0) << 0;
        QTest::newRow("negative gives the default") << qint64(-5) << 0;
        // Capped at the largest height the layer asks for: 32627 px at 96 dpi.
        QTest::newRow("int max") << qint64(2147483647) << 24470;
    }
    void fontSizeRoundTrip() {
        QFETCH(qint64, points);
        QFETCH(int, readBack);
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        layer.writeNumber({kPopup, "l"}, Prop::FontSize, points);
        QCOMPARE(layer.readNumber({kPopup, "l"}, Prop::FontSize), readBack);
        auto* label = static_cast<ui::Label*>(layer.widget({kPopup, "l"}));
        if (readBack == 0) {
            QCOMPARE(label->font().pixelSize(), QApplication::font().pixelSize());
            QCOMPARE(label->font().pointSizeF(), QApplication::font().pointSizeF());
        } else {
            QVERIFY(label->font().pixelSize() > 0);
        }
    }

    void labelsAreOpaqueSingleLineAndClipped_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("hAlign");
        QTest::addColumn<int>("vAlign");
        QTest::addColumn<bool>("touchesLeft");
        QTest::addColumn<bool>("touchesRight");
        QTest::addColumn<QString>("rows");  // where the one line stands
        const QChar block(0x2588);          // a full block: ink to the edges of its cell
        const QString wide(40, block);
        const QString two(2, block);
        QTest::newRow("wide, centred: cut on both sides")
            << wide << 1 << 1 << true << true << "middle";
        QTest::newRow("wide, left: cut on the right") << wide << 0 << 0 << true << true << "top";
        QTest::newRow("short, left") << two << 0 << 1 << true << false << "middle";
        QTest::newRow("short, right") << two << 2 << 2 << false << true << "bottom";
        QTest::newRow("a line break stays on one line")
            << QString(block) + "\n" + QString(block) << 1 << 0 << false << false << "top";
    }
    void labelsAreOpaqueSingleLineAndClipped() {
        QFETCH(QString, caption);
        QFETCH(int, hAlign);
        QFETCH(int, vAlign);
        QFETCH(bool, touchesLeft);
        QFETCH(bool, touchesRight);
        QFETCH(QString, rows);
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        const Ref l{kPopup, "l"};
        layer.writeNumber(l, Prop::Width, 120);
        layer.writeNumber(l, Prop::Height, 90);
        layer.writeNumber(l, Prop::FontSize, 12);
        layer.writeNumber(l, Prop::TextColor, 0x0000FF);  // red
        layer.writeNumber(l, Prop::BackColor, 0x00FF00);  // green, and never transparent
        layer.writeNumber(l, Prop::HAlign, hAlign);
        layer.writeNumber(l, Prop::VAlign, vAlign);
        layer.writeText(l, Prop::Caption, caption);
        auto* label = static_cast<ui::Label*>(layer.widget(l));
        const QImage img = label->grab().toImage();
        const Ink ink = inkOf(label);
        QVERIFY2(ink.right >= 0, "no text drawn");
        QCOMPARE(ink.left == 0, touchesLeft);
        QCOMPARE(ink.right == 119, touchesRight);
        const int height = ink.bottom - ink.top + 1;
        QVERIFY2(height < 30, qPrintable(QString::number(height)));  // one line of 16 px text
        if (rows == "top") QVERIFY(ink.top < 8);
        if (rows == "bottom") QVERIFY(ink.bottom > 80);
        if (rows == "middle") QVERIFY(ink.top > 20 && ink.bottom < 70);
        // Opaque: the corners not covered by text show the label's own background.
        QCOMPARE(img.pixelColor(img.width() - 1, rows == "bottom" ? 0 : img.height() - 1),
                 QColor(Qt::green));
    }

    void pointPixelConversionAtOtherResolutions_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("points");
        QTest::newRow("72 dpi") << 72.0 << 13;
        QTest::newRow("96 dpi") << 96.0 << 73;
        QTest::newRow("120 dpi") << 120.0 << 73;
        QTest::newRow("144 dpi") << 144.0 << 360;
        QTest::newRow("96 dpi, 1 pt") << 96.0 << 1;
    }
    void pointPixelConversionAtOtherResolutions() {
        QFETCH(double, dpi);
        QFETCH(int, points);
        QCOMPARE(ui::pixelsToPoints(ui::pointsToPixels(points, dpi), dpi), points);
    }

    void timerPeriodSemantics() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        const Ref t{kPopup, "t"};
        layer.writeNumber(t, Prop::Period, -10);
        QCOMPARE(layer.readNumber(t, Prop::Period), 0);

        // Rewriting the same period must not restart the timer: with a 60 ms period
        // rewritten every 25 ms it still ticks; a restarting timer never would.
        layer.writeNumber(t, Prop::Period, 60);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 200) {
            layer.writeNumber(t, Prop::Period, 60);
            QTest::qWait(25);
        }
        QVERIFY2(g_ticks >= 2, qPrintable(QString::number(g_ticks)));

        layer.writeNumber(t, Prop::Period, 0);
        const int ticks = g_ticks;
        QTest::qWait(100);
        QCOMPARE(g_ticks, ticks);
    }

    void timerFirstTickComesOnePeriodAfterTheWrite() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        QElapsedTimer clock;
        qint64 firstTick = -1;
        g_onTick = [&] {
            if (firstTick < 0) firstTick = clock.elapsed();
        };
        clock.start();
        layer.writeNumber({kPopup, "t"}, Prop::Period, 80);
        QTRY_VERIFY(firstTick >= 0);
        QVERIFY2(firstTick >= 79, qPrintable(QString::number(firstTick)));
    }

    void tabRunsFromLastStoredToFirst() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        QWidget* window = layer.widget({kMain, {}});
        window->activateWindow();
        // The first in Tab order (the last stored focusable control) has the focus.
        QTRY_COMPARE(QApplication::focusWidget(), layer.widget({kMain, "b"}));
        const QStringList expected = {"e1", "e2", "e3", "b", "e1"};
        for (const QString& name : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("b"));
    }

    void escClosesOnlyOnAFreshPressWithoutModifiers() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        QWidget* edit = layer.widget({kMain, "e2"});
        QTest::keyClick(edit, Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(layer.isOpen(kMain));
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(edit, &repeat);
        QVERIFY(layer.isOpen(kMain));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!layer.isOpen(kMain));
        QTRY_VERIFY(!layer.exists(kMain));
    }

    void escDoesNothingWhereTheDesignSaysSo() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        QTest::keyClick(layer.widget({kPopup, {}}), Qt::Key_Escape);
        QVERIFY(layer.isOpen(kPopup));
    }

    void enterClicksNothing() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        auto* button = static_cast<QPushButton*>(layer.widget({kMain, "b"}));
        QSignalSpy clicks(button, &QPushButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(layer.widget({kMain, "e1"}), Qt::Key_Enter);
        QCOMPARE(clicks.count(), 0);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(clicks.count(), 1);
    }

    void enterRules_data() {
        QTest::addColumn<bool>("withDefault");
        QTest::addColumn<bool>("movesFocus");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("clicked");  // or the control that gets the focus
        QTest::newRow("no default button: nothing") << false << false << "e1"
                                                    << "";
        QTest::newRow("a default button elsewhere is clicked") << true << false << "e1"
                                                               << "d";
        QTest::newRow("moving the focus") << false << true << "e1"
                                          << "focus:e2";
        QTest::newRow("a focused default button wins") << true << true << "d"
                                                       << "d";
    }
    void enterRules() {
        QFETCH(bool, withDefault);
        QFETCH(bool, movesFocus);
        QFETCH(QString, focused);
        QFETCH(QString, clicked);
        ui::WindowDesign design = mainDesign();
        design.enterMovesFocus = movesFocus;
        if (withDefault) {
            ui::ButtonSettings b;
            b.caption = QStringLiteral("default");
            b.isDefault = true;
            design.components.insert(
                design.components.begin() + 3,
                {QStringLiteral("d"), QRect(200, 100, 60, 30), b, [] {}, true, true, true});
        }
        Layer& layer = Layer::instance();
        layer.setDesign(kMain, design);
        layer.load(kMain, false);
        QWidget* window = layer.widget({kMain, {}});
        QApplication::setActiveWindow(window);
        QString got;
        for (const char* name : {"b", "d"}) {
            if (auto* button = qobject_cast<QPushButton*>(layer.widget({kMain, name}))) {
                connect(button, &QPushButton::clicked, this, [&got, name] { got = name; });
            }
        }
        layer.widget({kMain, focused})->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (clicked.startsWith("focus:")) {
            QCOMPARE(QApplication::focusWidget()->objectName(), clicked.mid(6));
            QCOMPARE(got, QString());
        } else {
            QCOMPARE(got, clicked);
        }
    }

    void closingTheFrameGoesThroughDestroy() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        layer.widget({kMain, {}})->close();
        QVERIFY(!layer.isOpen(kMain));
        QTRY_VERIFY(!layer.exists(kMain));
    }

    void workerWritesLandInOrderWithoutBlockingTheWorker() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        QStringList seen;
        auto* label = static_cast<ui::Label*>(layer.widget({kPopup, "l"}));
        std::atomic<bool> done{false};
        // The UI thread is busy (not in the event loop) while the worker writes.
        const auto handle = services::startThread([&] {
            for (int i = 0; i < 500; ++i) {
                Layer::instance().writeText({kPopup, "l"}, Prop::Caption, QString::number(i));
                Layer::instance().runOnUiThread([&seen, label] { seen << label->caption(); });
            }
            done = true;
        });
        QVERIFY(handle != 0);
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < 5000) std::this_thread::yield();
        QVERIFY(done);  // it finished without the UI thread taking a single event
        QCOMPARE(seen.size(), 0);
        QTRY_COMPARE(seen.size(), 500);
        for (int i = 0; i < 500; ++i) QCOMPARE(seen[i], QString::number(i));
        services::endThread(handle);
    }

    void endingAWorkerDropsItsPendingWrites() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        std::atomic<bool> wrote{false};
        const auto handle = services::startThread([&] {
            Layer::instance().writeText({kPopup, "l"}, Prop::Caption, QStringLiteral("late"));
            wrote = true;
            services::waitMs(60000);  // ended long before this runs out
            Layer::instance().writeText({kPopup, "l"}, Prop::Caption, QStringLiteral("later"));
        });
        // Wait without taking events, so the write is still queued when the end comes.
        QElapsedTimer clock;
        clock.start();
        while (!wrote && clock.elapsed() < 5000) std::this_thread::yield();
        QVERIFY(wrote);
        clock.restart();
        services::endThread(handle);
        QVERIFY(clock.elapsed() < 1000);
        QTest::qWait(20);
        QCOMPARE(layer.readText({kPopup, "l"}, Prop::Caption), QStringLiteral("活动名称"));
        services::endThread(handle);  // a second end is ignored
        services::endThread(0);
    }

    void endingAFinishedWorkerAppliesItsCompletedRun() {
        Layer& layer = Layer::instance();
        layer.load(kPopup, false);
        const auto handle = services::startThread([] {
            Layer::instance().writeText({kPopup, "l"}, Prop::Caption, QStringLiteral("done"));
        });
        QTRY_COMPARE(services::liveThreadCount(), 0);
        // Its write is still queued; ending the finished worker applies it before
        // returning, so whatever the caller writes next comes last.
        services::endThread(handle);
        QCOMPARE(layer.readText({kPopup, "l"}, Prop::Caption), QStringLiteral("done"));
    }

    void exitRoutinesRunOnceInOrderWithoutDuplicates() {
        static QStringList calls;
        calls.clear();
        auto a = [] { calls << "a"; };
        auto b = [] { calls << "b"; };
        ui::registerExitRoutine(+a);
        ui::registerExitRoutine(+b);
        ui::registerExitRoutine(+a);
        QCOMPARE(ui::exitRoutineCount(), 2);
        ui::runExitRoutines();
        QCOMPARE(calls, QStringList({"a", "b"}));
        ui::runExitRoutines();
        QCOMPARE(calls.size(), 2);
    }

    void emptyTextReadsAsAbsent() {
        Layer& layer = Layer::instance();
        layer.load(kMain, false);
        QVERIFY(layer.readText({kMain, "e1"}, Prop::Content).isNull());
        layer.writeText({kMain, "l"}, Prop::Caption, QString(""));
        QVERIFY(layer.readText({kMain, "l"}, Prop::Caption).isNull());
    }
};

QTEST_MAIN(LayerTest)
#include "test_layer.moc"
