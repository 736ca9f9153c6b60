// The settings window on real widgets: the window and its controls as created,
// what the layer reads from them, the keyboard rules, and the modal run of the
// display behind 确定 (with a stand-in display that closes itself).
#include "settings/settingswindow.h"
#include "shell/programmain.h"
#include "shell/state.h"
#include "ui/colorpicker.h"
#include "ui/editbox.h"
#include "ui/label.h"
#include "ui/layer.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace fc;
using ui::Layer;
using ui::Prop;
using ui::Ref;

namespace {

QString name(const char16_t* s) { return QString::fromUtf16(s); }

QWidget* settingsWindow() { return Layer::instance().widget({shell::kSettingsWindow, {}}); }

QWidget* control(const QString& component) {
    return Layer::instance().widget({shell::kSettingsWindow, component});
}

QString focusName() {
    const QWidget* w = QApplication::focusWidget();
    return w == nullptr ? QStringLiteral("<none>") : w->objectName();
}

// What the display reads from the window, as it reads it.
QStringList entries() {
    Layer& layer = Layer::instance();
    const QString& s = shell::kSettingsWindow;
    auto content = [&](const char16_t* box) {
        return layer.readText({s, name(box)}, Prop::Content);
    };
    auto colour = [&](const char16_t* picker) {
        return QStringLiteral("0x%1").arg(layer.readNumber({s, name(picker)}, Prop::CurrentColor),
                                          8, 16, QLatin1Char('0'));
    };
    return {content(u"编辑框1"),    content(u"编辑框2"),
            content(u"编辑框3"),    content(u"编辑框4"),
            content(u"编辑框5"),    layer.readText({s, name(u"组合框1")}, Prop::Text),
            colour(u"颜色选择器1"), colour(u"颜色选择器2")};
}

// The stand-in display: records what a run of it saw, then closes itself from its
// own event loop, as ESC would.
struct DisplayRun {
    int created = 0;
    bool settingsEnabledWhileOpen = true;
    bool displayShown = false;
    QStringList entriesSeen;
};
DisplayRun g_run;

ui::WindowDesign standInDisplay() {
    ui::WindowDesign w;
    w.border = ui::Border::None;
    w.outerSize = QSize(200, 100);
    w.onCreated = [] {
        ++g_run.created;
        g_run.entriesSeen = entries();
        QTimer::singleShot(0, qApp, [] {
            g_run.settingsEnabledWhileOpen = settingsWindow()->isEnabled();
            const QWidget* display = Layer::instance().widget({shell::kDisplayWindow, {}});
            g_run.displayShown = display != nullptr && display->isVisible();
            Layer::instance().destroy(shell::kDisplayWindow);
        });
    };
    return w;
}

// The focusable controls in Tab order.
const QStringList& tabOrder() {
    static const QStringList order = {
        name(u"开始计时"), name(u"编辑框1"),     name(u"编辑框2"),
        name(u"编辑框3"),  name(u"颜色选择器1"), name(u"颜色选择器2"),
        name(u"编辑框4"),  name(u"编辑框5"),     name(u"组合框1"),
    };
    return order;
}

bool focusOn(const QString& component) {
    QWidget* w = control(component);
    if (w == nullptr) return false;
    w->setFocus(Qt::OtherFocusReason);
    return w->hasFocus();
}

// Types `text` one character at a time, each as the key event's text
// (QTest::keyClicks only knows Latin-1).
void type(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i, len), Qt::NoModifier);
        i += len;
    }
}

// A key pressed and released on the window, as the platform delivers it: to the
// focused control, through the window's shortcut handling.
void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(settingsWindow()->windowHandle(), key, mods);
}

// Lets the deferred destruction of a window happen, if one was asked for.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

enum class Kind { Label, EditBox, ComboBox, ColorPicker, Button };

}  // namespace

Q_DECLARE_METATYPE(Kind)

class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Layer& layer = Layer::instance();
        layer.closeAll();
        shell::PrepareWindows();
        layer.setDesign(shell::kDisplayWindow, standInDisplay());
        g_run = DisplayRun{};
        QVERIFY(layer.load(shell::kSettingsWindow, false));
        QWidget* window = settingsWindow();
        QVERIFY(window != nullptr);
        // The layer asks for activation; the offscreen platform grants it once
        // the event loop has run.
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void cleanup() { Layer::instance().closeAll(); }

    void window() {
        QWidget* w = settingsWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("VelmorTarquane程序-Ostrevin"));

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        // Registered a second time on a screen of odd size; make sure it took.
        const QByteArray expectedScreen = qgetenv("FC_TEST_SCREEN");
        if (!expectedScreen.isEmpty()) {
            QCOMPARE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()),
                     QString::fromLatin1(expectedScreen));
        }
        const QRect outer((screen.width() - 387) / 2, (screen.height() - 383) / 2, 387, 383);
        QCOMPARE(w->frameGeometry(), outer);
        Layer& layer = Layer::instance();
        const Ref ref{shell::kSettingsWindow, {}};
        QCOMPARE(layer.readNumber(ref, Prop::Left), outer.left());
        QCOMPARE(layer.readNumber(ref, Prop::Top), outer.top());
        QCOMPARE(layer.readNumber(ref, Prop::Width), 387);
        QCOMPARE(layer.readNumber(ref, Prop::Height), 383);

        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::FramelessWindowHint));
        QVERIFY(!(flags & Qt::WindowStaysOnTopHint));
        // The user cannot resize it.
        QCOMPARE(w->minimumSize(), w->size());
        QCOMPARE(w->maximumSize(), w->size());
        QCOMPARE(w->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
    }

    void controls_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("align");     // horizontal Qt alignment
        QTest::addColumn<uint>("colour");   // label text colour, picker colour
        QTest::addColumn<bool>("integer");  // edit boxes
        QTest::addColumn<int>("maxBytes");  // edit boxes

        const int left = Qt::AlignLeft;
        const int centre = Qt::AlignHCenter;
        const int right = Qt::AlignRight;
        auto label = [&](const char16_t* n, QRect place, const char16_t* caption, int align,
                         uint colour = 0) {
            QTest::newRow(QString::fromUtf16(n).toUtf8())
                << Kind::Label << place << name(caption) << align << colour << false << 0;
        };
        auto edit = [&](const char16_t* n, QRect place, const char* content, int align,
                        bool integer, int maxBytes) {
            QTest::newRow(QString::fromUtf16(n).toUtf8())
                << Kind::EditBox << place << QString::fromUtf8(content) << align << 0u << integer
                << maxBytes;
        };
        label(u"标签1", {52, 40, 72, 32}, u"起始倒计时：", right);
        edit(u"编辑框1", {128, 40, 40, 32}, "", centre, true, 0);
        label(u"标签2", {176, 40, 24, 32}, u"分", left);
        edit(u"编辑框2", {200, 40, 40, 32}, "", centre, true, 2);
        label(u"标签3", {248, 40, 24, 32}, u"秒", left);
        label(u"标签4", {88, 80, 40, 32}, u"倒数：", right);
        edit(u"编辑框3", {128, 80, 40, 32}, "", centre, true, 2);
        label(u"标签5", {176, 80, 112, 32}, u"秒开始闪动提示", left);
        label(u"标签6", {64, 120, 64, 32}, u"文字颜色：", right);
        QTest::newRow("颜色选择器1") << Kind::ColorPicker << QRect(132, 125, 136, 24) << QString()
                                     << 0 << 0x000000FFu << false << 0;
        label(u"标签7", {64, 152, 64, 32}, u"背景颜色：", right);
        QTest::newRow("颜色选择器2") << Kind::ColorPicker << QRect(132, 157, 136, 24) << QString()
                                     << 0 << 0x00000000u << false << 0;
        label(u"标签8", {64, 200, 64, 32}, u"活动名称：", right);
        edit(u"编辑框4", {128, 200, 224, 32}, "", left, false, 0);
        label(u"标签9", {32, 240, 96, 32}, u"活动文字大小：", right);
        edit(u"编辑框5", {128, 240, 56, 32}, "73", centre, true, 0);
        QTest::newRow("组合框1") << Kind::ComboBox << QRect(200, 244, 152, 20)
                                 << QStringLiteral("活动标题居中不滚动") << 0 << 0u << false << 0;
        label(u"标签10", {80, 296, 152, 24}, u"F2 开始  F3重置  ESC退出", left, 0x00FF0000u);
        QTest::newRow("开始计时") << Kind::Button << QRect(272, 286, 80, 40)
                                  << QStringLiteral("确定") << 0 << 0u << false << 0;
    }
    void controls() {
        QFETCH(Kind, kind);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        QFETCH(int, align);
        QFETCH(uint, colour);
        QFETCH(bool, integer);
        QFETCH(int, maxBytes);
        const QString component = QString::fromUtf8(QTest::currentDataTag());
        QWidget* w = control(component);
        QVERIFY(w != nullptr);
        QCOMPARE(w->geometry(), place);
        QVERIFY(w->isVisible());
        QVERIFY(w->isEnabled());

        switch (kind) {
            case Kind::Label: {
                auto* label = qobject_cast<ui::Label*>(w);
                QVERIFY(label != nullptr);
                QCOMPARE(label->caption(), text);
                QCOMPARE(static_cast<int>(label->hAlign()), align == Qt::AlignLeft      ? 0
                                                            : align == Qt::AlignHCenter ? 1
                                                                                        : 2);
                QCOMPARE(label->vAlign(), ui::Align::Center);
                QCOMPARE(label->textColor(), colour);
                QCOMPARE(label->backColor(), ui::kDefaultColor);
                QCOMPARE(label->focusPolicy(), Qt::NoFocus);
                break;
            }
            case Kind::EditBox: {
                auto* box = qobject_cast<ui::EditBox*>(w);
                QVERIFY(box != nullptr);
                QCOMPARE(box->text(), text);
                QCOMPARE(static_cast<int>(box->alignment() & Qt::AlignHorizontal_Mask), align);
                QCOMPARE(static_cast<int>(box->alignment() & Qt::AlignVertical_Mask),
                         static_cast<int>(Qt::AlignVCenter));
                QCOMPARE(box->integerOnly(), integer);
                QCOMPARE(box->maxBytes(), maxBytes);
                QVERIFY(box->hasFrame());
                QVERIFY(!box->isReadOnly());
                QCOMPARE(box->echoMode(), QLineEdit::Normal);
                QCOMPARE(box->palette().color(QPalette::Text), QColor(0, 0, 0));
                QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 255));
                break;
            }
            case Kind::ComboBox: {
                auto* combo = qobject_cast<QComboBox*>(w);
                QVERIFY(combo != nullptr);
                QVERIFY(!combo->isEditable());
                QCOMPARE(combo->count(), 2);
                QCOMPARE(combo->itemText(0), QStringLiteral("活动标题居中不滚动"));
                QCOMPARE(combo->itemText(1), QStringLiteral("活动标题滚动播放"));
                QCOMPARE(combo->currentIndex(), 0);
                QCOMPARE(combo->currentText(), text);
                break;
            }
            case Kind::ColorPicker: {
                auto* picker = qobject_cast<ui::ColorPicker*>(w);
                QVERIFY(picker != nullptr);
                QCOMPARE(picker->color(), colour);
                QVERIFY(!picker->allowTransparent());
                break;
            }
            case Kind::Button: {
                auto* button = qobject_cast<QPushButton*>(w);
                QVERIFY(button != nullptr);
                QCOMPARE(button->text(), text);
                QVERIFY(!button->isDefault());
                QVERIFY(!button->autoDefault());
                break;
            }
        }
    }

    // Nineteen controls and nothing else, none overlapping another.
    void controlsStandApart() {
        const ui::WindowDesign* design = Layer::instance().design(shell::kSettingsWindow);
        QVERIFY(design != nullptr);
        QCOMPARE(design->components.size(), std::size_t{19});
        std::set<QString> names;
        for (const ui::ComponentDesign& c : design->components) names.insert(c.name);
        QCOMPARE(names.size(), std::size_t{19});
        for (std::size_t i = 0; i < design->components.size(); ++i) {
            for (std::size_t j = i + 1; j < design->components.size(); ++j) {
                const ui::ComponentDesign& a = design->components[i];
                const ui::ComponentDesign& b = design->components[j];
                QVERIFY2(!a.place.intersects(b.place), qPrintable(a.name + " / " + b.name));
            }
        }
    }

    // 标签10 is painted blue (0x00FF0000 is blue in 0x00BBGGRR), the others black.
    void labelTextIsPaintedInItsColour_data() {
        QTest::addColumn<QColor>("ink");
        QTest::newRow("标签10") << QColor(0, 0, 255);
        QTest::newRow("标签1") << QColor(0, 0, 0);
    }
    void labelTextIsPaintedInItsColour() {
        QFETCH(QColor, ink);
        QWidget* label = control(QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(label != nullptr);
        const QImage image = label->grab().toImage();
        const QColor face = QApplication::palette().color(QPalette::Button);
        int inked = 0;
        int foreign = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c == face) continue;
                // Anti-aliased edges lie between the ink and the face; anything
                // else has a hue of its own.
                const bool between = [&] {
                    for (auto channel : {&QColor::red, &QColor::green, &QColor::blue}) {
                        const int lo = std::min((ink.*channel)(), (face.*channel)());
                        const int hi = std::max((ink.*channel)(), (face.*channel)());
                        if ((c.*channel)() < lo - 8 || (c.*channel)() > hi + 8) return false;
                    }
                    return true;
                }();
                if (!between) ++foreign;
                if (std::abs(c.red() - ink.red()) + std::abs(c.green() - ink.green()) +
                        std::abs(c.blue() - ink.blue()) <
                    60) {
                    ++inked;
                }
            }
        }
        QVERIFY2(inked > 0, "no pixel in the text colour");
        QCOMPARE(foreign, 0);
    }

    void untouchedWindowReadings() {
        Layer& layer = Layer::instance();
        const QString& s = shell::kSettingsWindow;
        QCOMPARE(layer.readNumber({s, name(u"颜色选择器1")}, Prop::CurrentColor), 0x000000FF);
        QCOMPARE(layer.readNumber({s, name(u"颜色选择器2")}, Prop::CurrentColor), 0x00000000);
        // An empty box reads as absent.
        QVERIFY(layer.readText({s, name(u"编辑框1")}, Prop::Content).isNull());
        QVERIFY(layer.readText({s, name(u"编辑框2")}, Prop::Content).isNull());
        QVERIFY(layer.readText({s, name(u"编辑框3")}, Prop::Content).isNull());
        QVERIFY(layer.readText({s, name(u"编辑框4")}, Prop::Content).isNull());
        QCOMPARE(layer.readText({s, name(u"编辑框5")}, Prop::Content), QStringLiteral("73"));
        QCOMPARE(layer.readText({s, name(u"组合框1")}, Prop::Text),
                 QStringLiteral("活动标题居中不滚动"));
    }

    void initialFocusOnStartButton() { QCOMPARE(focusName(), name(u"开始计时")); }

    void tabCyclesForwardAndBack() {
        QStringList forward;
        for (int i = 0; i < tabOrder().size(); ++i) {
            press(Qt::Key_Tab);
            forward << focusName();
        }
        QStringList expected = tabOrder().mid(1);
        expected << tabOrder().first();
        QCOMPARE(forward, expected);

        QStringList backward;
        for (int i = 0; i < tabOrder().size(); ++i) {
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            backward << focusName();
        }
        expected.clear();
        for (int i = tabOrder().size() - 1; i >= 0; --i) expected << tabOrder()[i];
        QCOMPARE(backward, expected);
    }

    // Each box as the user fills it: typed, then left with Tab, read by the display.
    void typingThenTab_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");

        QTest::newRow("eleven nines in 编辑框1") << name(u"编辑框1") << "99999999999"
                                                 << "2147483647";
        QTest::newRow("letter and full stop in 编辑框1") << name(u"编辑框1") << "1a.5"
                                                         << "15";
        QTest::newRow("0 in 编辑框2") << name(u"编辑框2") << "0"
                                      << "";
        QTest::newRow("third digit in 编辑框2") << name(u"编辑框2") << "123"
                                                << "12";
        QTest::newRow("-5 in 编辑框3") << name(u"编辑框3") << "-5"
                                       << "-5";
        QTest::newRow("99 in 编辑框3") << name(u"编辑框3") << "999"
                                       << "99";
        QTest::newRow("title in 编辑框4") << name(u"编辑框4") << "年会 007 🎉 v1.0"
                                          << "年会 007 🎉 v1.0";
        QTest::newRow("long title in 编辑框4")
            << name(u"编辑框4") << QString(200, u'长') << QString(200, u'长');
        QTest::newRow("after 73 in 编辑框5") << name(u"编辑框5") << "-"
                                             << "73";
    }
    void typingThenTab() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QVERIFY(focusOn(box));
        auto* edit = qobject_cast<QLineEdit*>(control(box));
        edit->end(false);
        type(edit, typed);
        press(Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), shown);
        const QString read =
            Layer::instance().readText({shell::kSettingsWindow, box}, Prop::Content);
        QCOMPARE(read, shown);
        // An empty box reads as absent.
        QCOMPARE(read.isNull(), shown.isEmpty());
    }

    void enterDoesNothing_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<int>("key");
        for (const QString& c : tabOrder()) {
            QTest::newRow(qPrintable(c + " Return")) << c << int(Qt::Key_Return);
            QTest::newRow(qPrintable(c + " Enter")) << c << int(Qt::Key_Enter);
        }
    }
    void enterDoesNothing() {
        QFETCH(QString, component);
        QFETCH(int, key);
        QVERIFY(focusOn(component));
        const QStringList before = entries();
        const Qt::KeyboardModifiers mods =
            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        press(static_cast<Qt::Key>(key), mods);
        settle();
        QCOMPARE(g_run.created, 0);
        QCOMPARE(focusName(), component);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QCOMPARE(entries(), before);
        QVERIFY(Layer::instance().isOpen(shell::kSettingsWindow));
    }

    void spaceOnStartOpensDisplay() {
        const QStringList before = entries();
        QVERIFY(focusOn(name(u"开始计时")));
        press(Qt::Key_Space);
        // The key release clicked the button, and the modal run is over by now.
        QCOMPARE(g_run.created, 1);
        QVERIFY(g_run.displayShown);
        QVERIFY(!g_run.settingsEnabledWhileOpen);
        QCOMPARE(g_run.entriesSeen, before);
        QVERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        QVERIFY(settingsWindow()->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(settingsWindow()));
        QCOMPARE(focusName(), name(u"开始计时"));
    }

    // The entries the user made survive a run of the display, which sees them as
    // they were, and the focus goes back where it was.
    void modalRunKeepsEntriesAndFocus() {
        Layer& layer = Layer::instance();
        const QString& s = shell::kSettingsWindow;
        auto fill = [&](const char16_t* box, const QString& text) {
            QVERIFY(focusOn(name(box)));
            QTest::keyClicks(control(name(box)), text);
        };
        fill(u"编辑框1", QStringLiteral("5"));
        fill(u"编辑框2", QStringLiteral("30"));
        fill(u"编辑框3", QStringLiteral("10"));
        fill(u"编辑框5", QStringLiteral("0"));
        QVERIFY(focusOn(name(u"编辑框4")));
        QTest::keyClicks(control(name(u"编辑框4")), QStringLiteral("Keynote"));
        qobject_cast<QComboBox*>(control(name(u"组合框1")))->setCurrentIndex(1);
        qobject_cast<ui::ColorPicker*>(control(name(u"颜色选择器1")))->setColor(0x0000FFFF);
        qobject_cast<ui::ColorPicker*>(control(name(u"颜色选择器2")))->setColor(0x00800000);
        const QStringList before = entries();
        QCOMPARE(before, (QStringList{"5", "30", "10", "Keynote", "730", "活动标题滚动播放",
                                      "0x0000ffff", "0x00800000"}));

        // The focus stays in 编辑框4 while the handler runs, as with a shortcut.
        settings::OnStartClicked();
        QCOMPARE(g_run.created, 1);
        QVERIFY(!g_run.settingsEnabledWhileOpen);
        QCOMPARE(g_run.entriesSeen, before);
        QVERIFY(settingsWindow()->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(settingsWindow()));
        QCOMPARE(entries(), before);
        QCOMPARE(focusName(), name(u"编辑框4"));

        // A second run reads the same entries again.
        QVERIFY(focusOn(name(u"开始计时")));
        press(Qt::Key_Space);
        QCOMPARE(g_run.created, 2);
        QCOMPARE(g_run.entriesSeen, before);
        QCOMPARE(layer.readText({s, name(u"编辑框4")}, Prop::Content), QStringLiteral("Keynote"));
    }

    void escClosesWindow_data() {
        QTest::addColumn<QString>("component");
        for (const QString& c : tabOrder()) QTest::newRow(qPrintable(c)) << c;
    }
    void escClosesWindow() {
        QFETCH(QString, component);
        QVERIFY(focusOn(component));
        press(Qt::Key_Escape);
        // Asked to go at once, gone once the event loop has run.
        QVERIFY(!Layer::instance().isOpen(shell::kSettingsWindow));
        QTRY_VERIFY(!Layer::instance().exists(shell::kSettingsWindow));
    }

    // ESC in an open drop-down belongs to the drop-down: it closes that and keeps
    // the window and the entries.
    void escInPopupClosesOnlyThePopup_data() {
        QTest::addColumn<QString>("component");
        QTest::newRow("颜色选择器1") << name(u"颜色选择器1");
        QTest::newRow("组合框1") << name(u"组合框1");
    }
    void escInPopupClosesOnlyThePopup() {
        QFETCH(QString, component);
        QVERIFY(focusOn(component));
        const QStringList before = entries();
        press(Qt::Key_Space);
        QWidget* popup = QApplication::activePopupWidget();
        QVERIFY(popup != nullptr);
        QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        settle();
        QVERIFY(Layer::instance().isOpen(shell::kSettingsWindow));
        QCOMPARE(entries(), before);
        QCOMPARE(focusName(), component);
    }

    // Only a fresh, plain ESC closes the window.
    void escVariantsKeepWindow_data() {
        QTest::addColumn<int>("mods");
        QTest::addColumn<bool>("autoRepeat");
        QTest::newRow("auto-repeated") << int(Qt::NoModifier) << true;
        QTest::newRow("Ctrl") << int(Qt::ControlModifier) << false;
        QTest::newRow("Shift") << int(Qt::ShiftModifier) << false;
        QTest::newRow("Alt") << int(Qt::AltModifier) << false;
        QTest::newRow("Ctrl+Shift") << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
    }
    void escVariantsKeepWindow() {
        QFETCH(int, mods);
        QFETCH(bool, autoRepeat);
        QVERIFY(focusOn(name(u"编辑框4")));
        QWidget* box = control(name(u"编辑框4"));
        const auto modifiers = static_cast<Qt::KeyboardModifiers>(mods);
        if (autoRepeat) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, modifiers, QStringLiteral("\x1b"),
                             true);
            QApplication::sendEvent(box, &repeat);
        } else {
            press(Qt::Key_Escape, modifiers);
        }
        settle();
        QVERIFY(Layer::instance().isOpen(shell::kSettingsWindow));
        QVERIFY(settingsWindow()->isVisible());
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
