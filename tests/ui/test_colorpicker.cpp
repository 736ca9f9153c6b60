// Colour picker and its palette popup: confirming, cancelling and the full dialog.
//
// Mouse and key input goes through the windows (QWindowSystemInterface), as
// real input does, so popup-mode routing (clicks outside, keys to the popup)
// is exercised.

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "ui/colorpicker.h"

using fc::ui::Color;
using fc::ui::ColorPicker;
using fc::ui::ColorPopup;

namespace {

// A window that closes on ESC, like the settings window. `escapes` counts the
// ESC presses its handler saw; `escDeliveries` every delivery of an ESC press to
// the window or one of its controls.
class EscWindow : public QWidget {
public:
    EscWindow() { qApp->installEventFilter(this); }
    ~EscWindow() override { qApp->removeEventFilter(this); }

    int escapes = 0;
    int escDeliveries = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::KeyPress && widget && widget->window() == this &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            ++escDeliveries;
        return false;
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            ++escapes;
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }
};

struct DialogCall {
    QColor initial;
    QWidget* parent = nullptr;
};

QPoint inWindow(QWidget* widget, QPoint pos) { return widget->mapTo(widget->window(), pos); }

void clickWidget(QWidget* widget, QPoint pos) {
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      inWindow(widget, pos));
}

}  // namespace

class TestColorPicker : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void paletteTable();
    void defaults();
    void popupLayout();
    void popupBelowLowerLeftCorner();
    void popupKeptOnScreen();
    void popupPositionRule_data();
    void popupPositionRule();
    void initialHighlight();
    void tooltipsNameCells();
    void hoverHighlights();
    void clickOnCellConfirms();
    void arrowKeysAndEnterConfirm();
    void arrowKeysReachMoreEntry();
    void spaceConfirms();
    void escapeCancelsAndStaysInPopup();
    void clickOutsideCancels();
    void clickOnPickerClosesPopup();
    void secondPopupCancelKeepsFirstChoice();
    void moreColorsOk();
    void moreColorsCancel();
    void moreColorsByKeyboard();
    void transparentEntry();
    void keyboardOpensPopup();
    void tabNavigation();
    void setColorDoesNotEmit();
    void destroyWhileOpen();

private:
    ColorPopup* openPopup();  // by a click on the picker; nullptr when it did not open

    std::unique_ptr<EscWindow> m_window;
    QPointer<ColorPicker> m_picker;
    std::vector<DialogCall> m_dialogCalls;
    std::optional<QColor> m_dialogResult;
};

void TestColorPicker::init() {
    m_dialogCalls.clear();
    m_dialogResult.reset();
    ColorPicker::setColorDialogProvider([this](const QColor& initial, QWidget* parent) {
        m_dialogCalls.push_back({initial, parent});
        return m_dialogResult;
    });

    m_window = std::make_unique<EscWindow>();
    m_window->resize(320, 240);
    m_window->move(QGuiApplication::primaryScreen()->availableGeometry().topLeft() +
                   QPoint(100, 100));
    m_picker = new ColorPicker(m_window.get());
    m_picker->setGeometry(132, 125, 136, 24);
    m_picker->setColor(0x000000FF);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestColorPicker::cleanup() {
    m_window.reset();
    ColorPicker::setColorDialogProvider({});
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

ColorPopup* TestColorPicker::openPopup() {
    clickWidget(m_picker, m_picker->rect().center());
    ColorPopup* popup = m_picker->popup();
    if (!popup || !QTest::qWaitForWindowExposed(popup)) return nullptr;
    return popup;
}

void TestColorPicker::paletteTable() {
    struct Expected {
        const char16_t* name;
        Color value;
    };
    const Expected expected[] = {
        {u"黑色", 0x000000}, {u"藏青", 0x800000}, {u"墨绿", 0x008000}, {u"深青", 0x808000},
        {u"红褐", 0x000080}, {u"紫红", 0x800080}, {u"褐绿", 0x008080}, {u"浅灰", 0xC0C0C0},
        {u"灰色", 0x808080}, {u"蓝色", 0xFF0000}, {u"绿色", 0x00FF00}, {u"艳青", 0xFFFF00},
        {u"红色", 0x0000FF}, {u"品红", 0xFF00FF}, {u"黄色", 0x00FFFF}, {u"白色", 0xFFFFFF},
        {u"蓝灰", 0xFF8080}, {u"藏蓝", 0xE03058}, {u"嫩绿", 0x00E080}, {u"青绿", 0x80E000},
        {u"黄褐", 0x0060C0}, {u"粉红", 0xFFA8FF}, {u"嫩黄", 0x00D8D8}, {u"银白", 0xECECEC},
        {u"紫色", 0xFF0090}, {u"天蓝", 0xFF8800}, {u"灰绿", 0x80A080}, {u"青蓝", 0xC06000},
        {u"橙黄", 0x0080FF}, {u"桃红", 0x8050FF}, {u"芙红", 0xC080FF}, {u"深灰", 0x606060},
    };
    const auto& colors = fc::ui::paletteColors();
    QCOMPARE(colors.size(), std::size(expected));
    std::set<Color> values;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        QCOMPARE(QString::fromUtf16(colors[i].name), QString::fromUtf16(expected[i].name));
        QCOMPARE(colors[i].value, expected[i].value);
        values.insert(colors[i].value);
    }
    QCOMPARE(values.size(), colors.size());
    // Spot checks of the byte order 0x00BBGGRR.
    QCOMPARE(fc::ui::toQColor(colors[12].value), QColor(255, 0, 0));    // 红色
    QCOMPARE(fc::ui::toQColor(colors[9].value), QColor(0, 0, 255));     // 蓝色
    QCOMPARE(fc::ui::toQColor(colors[17].value), QColor(88, 48, 224));  // 藏蓝
}

void TestColorPicker::defaults() {
    ColorPicker picker;
    QCOMPARE(picker.color(), Color{0});
    QVERIFY(!picker.allowTransparent());
    QCOMPARE(picker.focusPolicy(), Qt::StrongFocus);
    QVERIFY(!picker.popup());
}

void TestColorPicker::popupLayout() {
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QVERIFY(popup->isWindow());
    QVERIFY(popup->windowFlags().testFlag(Qt::Popup));
    QCOMPARE(QApplication::activePopupWidget(), popup);
    QCOMPARE(popup->parent(), m_picker.data());  // owned by the picker

    const QRect first = popup->cellRect(0);
    const int stepX = popup->cellRect(1).left() - first.left();
    const int stepY = popup->cellRect(7).top() - first.top();
    QVERIFY(stepX >= ColorPopup::kCellSize);
    QVERIFY(stepY >= ColorPopup::kCellSize);
    for (int i = 0; i < fc::ui::kPaletteSize; ++i) {
        const QRect r = popup->cellRect(i);
        QCOMPARE(r.size(), QSize(18, 18));
        QCOMPARE(r.left(), first.left() + (i % 7) * stepX);
        QCOMPARE(r.top(), first.top() + (i / 7) * stepY);
        QVERIFY(popup->rect().contains(r));
        QCOMPARE(popup->itemAt(r.center()), i);
    }
    QVERIFY(popup->cellRect(32).isNull());
    QCOMPARE(popup->cellRect(31).top(), first.top() + 4 * stepY);  // 5 rows, the last holds 4

    const QRect more = popup->itemRect(ColorPopup::kMoreItem);
    QVERIFY(popup->rect().contains(more));
    QVERIFY(more.top() > popup->cellRect(31).bottom());
    QCOMPARE(popup->itemAt(more.center()), ColorPopup::kMoreItem);
    QVERIFY(popup->itemRect(ColorPopup::kTransparentItem).isEmpty());  // not allowed here
    QCOMPARE(popup->itemAt(QPoint(1, 1)), ColorPopup::kNoItem);
}

void TestColorPicker::popupBelowLowerLeftCorner() {
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QCOMPARE(popup->geometry().topLeft(), m_picker->mapToGlobal(QPoint(0, m_picker->height())));
    QCOMPARE(popup->size(), popup->sizeHint());
}

void TestColorPicker::popupKeptOnScreen() {
    const QRect screen = m_window->screen()->availableGeometry();
    m_window->move(screen.right() + 1 - m_window->width() + 60,
                   screen.bottom() + 1 - m_window->height());
    // Window managers may refuse to move a window partly off screen; any
    // position near the corner will do as long as the picker is near it.
    QTRY_VERIFY(m_window->geometry().right() > screen.right() - 150);
    m_picker->move(m_window->width() - 140, m_window->height() - 30);
    const QRect anchor(m_picker->mapToGlobal(QPoint(0, 0)), m_picker->size());
    QVERIFY(QRect(anchor.left(), anchor.bottom() + 1, 150, 100).bottom() > screen.bottom());

    QVERIFY(openPopup());
    const QRect popup = m_picker->popup()->geometry();
    QVERIFY2(screen.contains(popup), qPrintable(QStringLiteral("popup %1,%2 %3x%4")
                                                    .arg(popup.x())
                                                    .arg(popup.y())
                                                    .arg(popup.width())
                                                    .arg(popup.height())));
    QVERIFY(!popup.intersects(anchor));  // opened above the picker, not over it
    QCOMPARE(popup.bottom(), anchor.top() - 1);
    if (anchor.left() + popup.width() > screen.right() + 1)
        QCOMPARE(popup.right(), screen.right());
    else
        QCOMPARE(popup.left(), anchor.left());
}

void TestColorPicker::popupPositionRule_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QPoint>("expected");
    // Screen 0,0 800x600; popup 160x140.
    QTest::newRow("room below") << QRect(100, 100, 136, 24) << QPoint(100, 124);
    QTest::newRow("exactly fits below") << QRect(100, 436, 136, 24) << QPoint(100, 460);
    QTest::newRow("too low: above") << QRect(100, 437, 136, 24) << QPoint(100, 297);
    QTest::newRow("too far right") << QRect(700, 100, 136, 24) << QPoint(640, 124);
    QTest::newRow("bottom-right corner") << QRect(700, 570, 100, 24) << QPoint(640, 430);
    QTest::newRow("left of screen") << QRect(-50, 100, 136, 24) << QPoint(0, 124);
    QTest::newRow("tall anchor: up to the bottom") << QRect(10, 50, 20, 500) << QPoint(10, 460);
}

void TestColorPicker::popupPositionRule() {
    QFETCH(QRect, anchor);
    QFETCH(QPoint, expected);
    const QRect screen(0, 0, 800, 600);
    const QPoint pos = fc::ui::popupPosition(anchor, QSize(160, 140), screen);
    QCOMPARE(pos, expected);
    QVERIFY(screen.contains(QRect(pos, QSize(160, 140))));
}

void TestColorPicker::initialHighlight() {
    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), 12);  // 红色 0x0000FF
    m_picker->hidePopup();
    QVERIFY(!m_picker->popup());

    m_picker->setColor(0x123456);  // not in the palette
    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), 0);
    m_picker->hidePopup();

    m_picker->setColor(0x606060);  // 深灰, the last cell
    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), 31);
}

void TestColorPicker::tooltipsNameCells() {
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    const auto& colors = fc::ui::paletteColors();
    for (int i : {0, 12, 17, 31}) {
        const QPoint pos = popup->cellRect(i).center();
        QHelpEvent help(QEvent::ToolTip, pos, popup->mapToGlobal(pos));
        QApplication::sendEvent(popup, &help);
        QTRY_COMPARE(QToolTip::text(),
                     QString::fromUtf16(colors[static_cast<std::size_t>(i)].name));
    }
    const QPoint more = popup->itemRect(ColorPopup::kMoreItem).center();
    QHelpEvent help(QEvent::ToolTip, more, popup->mapToGlobal(more));
    QApplication::sendEvent(popup, &help);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestColorPicker::hoverHighlights() {
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::mouseMove(popup->windowHandle(), popup->cellRect(20).center());
    QTRY_COMPARE(popup->highlighted(), 20);
    QTest::mouseMove(popup->windowHandle(), popup->itemRect(ColorPopup::kMoreItem).center());
    QTRY_COMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QTest::mouseMove(popup->windowHandle(), popup->cellRect(3).center());
    QTRY_COMPARE(popup->highlighted(), 3);
    QVERIFY(m_picker->popup());  // hovering confirms nothing
    QCOMPARE(m_picker->color(), Color{0x0000FF});
}

void TestColorPicker::clickOnCellConfirms() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      popup->cellRect(8).center());  // 灰色
    QTRY_VERIFY(!m_picker->popup());
    QVERIFY(!popup->isVisible());
    QCOMPARE(m_picker->color(), Color{0x808080});
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Color>(), Color{0x808080});
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(m_window->isVisible());
}

void TestColorPicker::arrowKeysAndEnterConfirm() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QWindow* window = m_window->windowHandle();  // keys reach the popup as real ones do
    QCOMPARE(popup->highlighted(), 12);
    QTest::keyClick(window, Qt::Key_Right);
    QCOMPARE(popup->highlighted(), 13);
    QTest::keyClick(window, Qt::Key_Right);  // end of row: on to the next row
    QCOMPARE(popup->highlighted(), 14);
    QTest::keyClick(window, Qt::Key_Down);
    QCOMPARE(popup->highlighted(), 21);
    QTest::keyClick(window, Qt::Key_Up);
    QTest::keyClick(window, Qt::Key_Up);
    QCOMPARE(popup->highlighted(), 7);
    QTest::keyClick(window, Qt::Key_Left);
    QCOMPARE(popup->highlighted(), 6);
    QCOMPARE(spy.count(), 0);
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0x008080});  // 褐绿
    QCOMPARE(spy.count(), 1);

    // The keypad Enter works alike.
    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), 6);
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0xFF00FF});  // 品红
    QCOMPARE(spy.count(), 2);
    QCOMPARE(m_window->escapes, 0);
    QVERIFY(m_window->isVisible());
}

void TestColorPicker::arrowKeysReachMoreEntry() {
    m_picker->setColor(0x0080FF);  // 橙黄, first cell of the last row
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QCOMPARE(popup->highlighted(), 28);
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QTest::keyClick(popup, Qt::Key_Up);
    QCOMPARE(popup->highlighted(), 28);  // back to the column it came from

    popup->setHighlighted(27);  // last column: the last row has no cell below
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QTest::keyClick(popup, Qt::Key_Up);
    QCOMPARE(popup->highlighted(), 27);

    popup->setHighlighted(31);
    QTest::keyClick(popup, Qt::Key_Right);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QTest::keyClick(popup, Qt::Key_Right);  // wraps around
    QCOMPARE(popup->highlighted(), 0);
    QTest::keyClick(popup, Qt::Key_Left);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(popup->highlighted(), 0);
    QTest::keyClick(popup, Qt::Key_Up);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kMoreItem));
    QVERIFY(m_picker->popup());
    QVERIFY(m_dialogCalls.empty());
}

void TestColorPicker::spaceConfirms() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Space);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0x80E000});  // 青绿, below 红色
    QCOMPARE(spy.count(), 1);

    // Confirming the colour that is already current still counts as a choice.
    QVERIFY(openPopup());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Space);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0x80E000});
    QCOMPARE(spy.count(), 2);
}

void TestColorPicker::escapeCancelsAndStaysInPopup() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0x0000FF});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_window->escapes, 0);
    QCOMPARE(m_window->escDeliveries, 0);
    QVERIFY(m_window->isVisible());

    // Sent to the popup directly as well.
    QVERIFY(openPopup());
    QTest::keyClick(m_picker->popup(), Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_window->escapes, 0);
    QCOMPARE(m_window->escDeliveries, 0);
    QVERIFY(m_window->isVisible());
    QCOMPARE(spy.count(), 0);

    // Without the popup ESC reaches the window, which closes (the recorder works).
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    QCOMPARE(m_window->escapes, 1);
    QTRY_VERIFY(!m_window->isVisible());
}

void TestColorPicker::clickOutsideCancels() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::keyClick(popup, Qt::Key_Right);
    const QPoint outside(10, 10);  // in the window, far from the popup and the picker
    QVERIFY(!popup->geometry().contains(m_window->mapToGlobal(outside)));
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    QTRY_VERIFY(!m_picker->popup());
    QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(!popup->testAttribute(Qt::WA_NoMouseReplay));  // the window gets its click
    QCOMPARE(m_picker->color(), Color{0x0000FF});
    QCOMPARE(spy.count(), 0);
    QVERIFY(m_window->isVisible());
}

void TestColorPicker::clickOnPickerClosesPopup() {
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    clickWidget(m_picker, m_picker->rect().center());
    QTRY_VERIFY(!m_picker->popup());
    // Platforms that replay the press that closed a popup (Windows) must not
    // hand this one to the picker; xcb and offscreen never replay it.
    QVERIFY(popup->testAttribute(Qt::WA_NoMouseReplay));
    QTest::qWait(50);  // a replayed press would reopen it now
    QVERIFY(!m_picker->popup());
    QVERIFY(openPopup());  // and the next click opens it again
}

void TestColorPicker::secondPopupCancelKeepsFirstChoice() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      popup->cellRect(25).center());  // 天蓝
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0xFF8800});

    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), 25);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Left);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0xFF8800});

    QVERIFY(openPopup());
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), Color{0xFF8800});
    QCOMPARE(spy.count(), 1);
}

void TestColorPicker::moreColorsOk() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    m_dialogResult = QColor(12, 34, 56, 100);  // alpha is dropped
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      popup->itemRect(ColorPopup::kMoreItem).center());
    QTRY_COMPARE(m_dialogCalls.size(), std::size_t{1});
    QVERIFY(!m_picker->popup());
    QCOMPARE(m_dialogCalls[0].initial, QColor(255, 0, 0));  // starts from the current colour
    QCOMPARE(m_dialogCalls[0].parent, m_picker.data());
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(m_picker->color(), fc::ui::rgb(12, 34, 56));
    QCOMPARE(spy.at(0).at(0).value<Color>(), Color{0x38220C});
}

void TestColorPicker::moreColorsCancel() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    m_picker->setColor(0xFF8800);
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      popup->itemRect(ColorPopup::kMoreItem).center());
    QTRY_COMPARE(m_dialogCalls.size(), std::size_t{1});
    QCOMPARE(m_dialogCalls[0].initial, QColor(0, 0x88, 0xFF));
    QTest::qWait(20);
    QCOMPARE(m_picker->color(), Color{0xFF8800});
    QCOMPARE(spy.count(), 0);
    QVERIFY(!m_picker->popup());
    QVERIFY(openPopup());  // the picker still works afterwards
}

void TestColorPicker::moreColorsByKeyboard() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    m_dialogResult = QColor(1, 2, 3);
    QVERIFY(openPopup());
    QWindow* window = m_window->windowHandle();
    for (int i = 0; i < 3; ++i) QTest::keyClick(window, Qt::Key_Down);  // 红色 -> ... -> more
    QCOMPARE(m_picker->popup()->highlighted(), int(ColorPopup::kMoreItem));
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_COMPARE(m_dialogCalls.size(), std::size_t{1});
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(m_picker->color(), fc::ui::rgb(1, 2, 3));
    QCOMPARE(m_window->escapes, 0);
}

void TestColorPicker::transparentEntry() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    m_picker->setAllowTransparent(true);
    QVERIFY(m_picker->allowTransparent());
    QVERIFY(openPopup());
    ColorPopup* popup = m_picker->popup();
    const QRect transparent = popup->itemRect(ColorPopup::kTransparentItem);
    QVERIFY(!transparent.isEmpty());
    QVERIFY(popup->rect().contains(transparent));
    QVERIFY(transparent.bottom() < popup->cellRect(0).top());  // above the grid
    QCOMPARE(popup->cellRect(0).size(), QSize(18, 18));
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Up);
    QCOMPARE(popup->highlighted(), int(ColorPopup::kTransparentItem));
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, transparent.center());
    QTRY_VERIFY(!m_picker->popup());
    QCOMPARE(m_picker->color(), fc::ui::kDefaultColor);
    QCOMPARE(spy.count(), 1);

    QVERIFY(openPopup());
    QCOMPARE(m_picker->popup()->highlighted(), int(ColorPopup::kTransparentItem));
    m_picker->hidePopup();

    m_picker->setAllowTransparent(false);
    m_picker->setColor(0x0000FF);
    QVERIFY(openPopup());
    QVERIFY(m_picker->popup()->itemRect(ColorPopup::kTransparentItem).isEmpty());
    QCOMPARE(m_picker->popup()->cellRect(0).top(), transparent.top());  // grid moved up
}

void TestColorPicker::keyboardOpensPopup() {
    m_picker->setFocus();
    QTRY_VERIFY(m_picker->hasFocus());
    QWindow* window = m_window->windowHandle();

    QTest::keyClick(window, Qt::Key_Return);  // Enter does not open it
    QVERIFY(!m_picker->popup());

    QTest::keyClick(window, Qt::Key_Space);
    QVERIFY(m_picker->popup());
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());

    QTest::keyClick(window, Qt::Key_F4);
    QVERIFY(m_picker->popup());
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());

    QTest::keyClick(window, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(m_picker->popup());
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!m_picker->popup());

    QTest::keyClick(window, Qt::Key_Down);  // a plain arrow does not
    QVERIFY(!m_picker->popup());
    QCOMPARE(m_window->escapes, 0);
    QTRY_VERIFY(m_picker->hasFocus());  // focus is back on the picker
}

void TestColorPicker::tabNavigation() {
    auto* second = new ColorPicker(m_window.get());
    second->setGeometry(132, 157, 136, 24);
    second->show();
    m_picker->setFocus();
    QTRY_VERIFY(m_picker->hasFocus());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Tab);
    QTRY_VERIFY(second->hasFocus());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Tab);
    QTRY_VERIFY(m_picker->hasFocus());
}

void TestColorPicker::setColorDoesNotEmit() {
    QSignalSpy spy(m_picker.data(), &ColorPicker::colorChanged);
    m_picker->setColor(0x00FF00);
    QCOMPARE(m_picker->color(), Color{0x00FF00});
    m_picker->setColor(fc::ui::kDefaultColor);
    QCOMPARE(m_picker->color(), fc::ui::kDefaultColor);
    QCOMPARE(spy.count(), 0);
}

void TestColorPicker::destroyWhileOpen() {
    QVERIFY(openPopup());
    QPointer<ColorPopup> popup = m_picker->popup();
    delete m_picker;
    QVERIFY(!popup);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    QCOMPARE(m_window->escapes, 1);
}

QTEST_MAIN(TestColorPicker)
#include "test_colorpicker.moc"
