#include "ui/colorpicker.h"

#include <qdrawutil.h>
#include <QColorDialog>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace fc::ui {

namespace {

constexpr int kPad = 6;  // popup edge (2 px frame + 4 px margin) to its content
constexpr int kGap = 4;  // between cells
constexpr int kPitch = ColorPopup::kCellSize + kGap;
constexpr int kRows = (kPaletteSize + kPaletteColumns - 1) / kPaletteColumns;
constexpr int kGridWidth = kPaletteColumns * ColorPopup::kCellSize + (kPaletteColumns - 1) * kGap;
constexpr int kGridHeight = kRows * ColorPopup::kCellSize + (kRows - 1) * kGap;
constexpr int kEntryHeight = 22;
constexpr int kSpacing = 6;  // between the grid and an entry
constexpr int kArrowWidth = 16;

const QColor kCellBorder(64, 64, 64);

QString transparentText() { return QStringLiteral("透明"); }
QString moreText() { return QStringLiteral("其它颜色..."); }

bool isCell(int item) { return item >= 0 && item < kPaletteSize; }

ColorDialogProvider& dialogProvider() {
    static ColorDialogProvider provider;
    return provider;
}

std::optional<QColor> defaultColorDialog(const QColor& initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

bool isActivationKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

bool isNavigationKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

const std::array<NamedColor, kPaletteSize>& paletteColors() {
    // One line per palette row.
    // clang-format off
    static constexpr std::array<NamedColor, kPaletteSize> kColors{{
        {u"黑色", 0x000000}, {u"藏青", 0x800000}, {u"墨绿", 0x008000}, {u"深青", 0x808000},
        {u"红褐", 0x000080}, {u"紫红", 0x800080}, {u"褐绿", 0x008080},
        {u"浅灰", 0xC0C0C0}, {u"灰色", 0x808080}, {u"蓝色", 0xFF0000}, {u"绿色", 0x00FF00},
        {u"艳青", 0xFFFF00}, {u"红色", 0x0000FF}, {u"品红", 0xFF00FF},
        {u"黄色", 0x00FFFF}, {u"白色", 0xFFFFFF}, {u"蓝灰", 0xFF8080}, {u"藏蓝", 0xE03058},
        {u"嫩绿", 0x00E080}, {u"青绿", 0x80E000}, {u"黄褐", 0x0060C0},
        {u"粉红", 0xFFA8FF}, {u"嫩黄", 0x00D8D8}, {u"银白", 0xECECEC}, {u"紫色", 0xFF0090},
        {u"天蓝", 0xFF8800}, {u"灰绿", 0x80A080}, {u"青蓝", 0xC06000},
        {u"橙黄", 0x0080FF}, {u"桃红", 0x8050FF}, {u"芙红", 0xC080FF}, {u"深灰", 0x606060},
    }};
    // clang-format on
    return kColors;
}

QPoint popupPosition(const QRect& anchor, const QSize& size, const QRect& screen) {
    int x = anchor.left();
    int y = anchor.bottom() + 1;
    if (y + size.height() > screen.bottom() + 1) {
        // No room below: open above the control, or as low as the screen allows.
        y = anchor.top() - size.height();
        if (y < screen.top()) y = screen.bottom() + 1 - size.height();
    }
    x = std::max(std::min(x, screen.right() + 1 - size.width()), screen.left());
    y = std::max(y, screen.top());
    return {x, y};
}

// ---------------------------------------------------------------------------
// ColorPopup

ColorPopup::ColorPopup(QWidget* parent) : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
    setMouseTracking(true);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    resize(sizeHint());
}

void ColorPopup::setAllowTransparent(bool allow) {
    if (allow == m_allowTransparent) return;
    m_allowTransparent = allow;
    if (!allow && m_highlighted == kTransparentItem) m_highlighted = 0;
    resize(sizeHint());
    update();
}

void ColorPopup::highlightColor(Color current) {
    if (m_allowTransparent && current == kDefaultColor) {
        setHighlighted(kTransparentItem);
        return;
    }
    const auto& colors = paletteColors();
    const auto it = std::find_if(colors.begin(), colors.end(),
                                 [current](const NamedColor& c) { return c.value == current; });
    setHighlighted(it == colors.end() ? 0 : static_cast<int>(it - colors.begin()));
}

void ColorPopup::setHighlighted(int item) {
    if (itemRect(item).isEmpty()) return;
    if (isCell(item)) m_column = item % kPaletteColumns;
    if (item == m_highlighted) return;
    m_highlighted = item;
    update();
}

int ColorPopup::gridTop() const {
    return kPad + (m_allowTransparent ? kEntryHeight + kSpacing : 0);
}

QRect ColorPopup::cellRect(int index) const {
    if (!isCell(index)) return {};
    return {kPad + (index % kPaletteColumns) * kPitch,
            gridTop() + (index / kPaletteColumns) * kPitch, kCellSize, kCellSize};
}

QRect ColorPopup::itemRect(int item) const {
    if (isCell(item)) return cellRect(item);
    if (item == kTransparentItem)
        return m_allowTransparent ? QRect(kPad, kPad, kGridWidth, kEntryHeight) : QRect();
    if (item == kMoreItem)
        return {kPad, gridTop() + kGridHeight + kSpacing, kGridWidth, kEntryHeight};
    return {};
}

int ColorPopup::itemAt(const QPoint& pos) const {
    for (int item = kTransparentItem; item <= kMoreItem; ++item) {
        if (itemRect(item).contains(pos)) return item;
    }
    return kNoItem;
}

QSize ColorPopup::sizeHint() const {
    return {kGridWidth + 2 * kPad, itemRect(kMoreItem).bottom() + 1 + kPad};
}

int ColorPopup::itemAbove(int item) const {
    if (item == kTransparentItem) return kMoreItem;
    if (item == kMoreItem) {
        const int last = (kRows - 1) * kPaletteColumns + m_column;
        return last < kPaletteSize ? last : last - kPaletteColumns;
    }
    if (item >= kPaletteColumns) return item - kPaletteColumns;
    return m_allowTransparent ? kTransparentItem : kMoreItem;
}

int ColorPopup::itemBelow(int item) const {
    if (item == kTransparentItem) return m_column;
    if (item == kMoreItem) return m_allowTransparent ? kTransparentItem : m_column;
    return item + kPaletteColumns < kPaletteSize ? item + kPaletteColumns : kMoreItem;
}

int ColorPopup::itemBefore(int item) const {
    const int first = m_allowTransparent ? kTransparentItem : 0;
    return item == first ? kMoreItem : item - 1;
}

int ColorPopup::itemAfter(int item) const {
    const int first = m_allowTransparent ? kTransparentItem : 0;
    return item == kMoreItem ? first : item + 1;
}

void ColorPopup::activate(int item) {
    if (itemRect(item).isEmpty()) return;
    close();
    // Emitted last: a receiver may delete the picker and with it this popup.
    if (item == kMoreItem) {
        emit moreColorsRequested();
    } else {
        emit colorChosen(item == kTransparentItem ? kDefaultColor : paletteColors()[item].value);
    }
}

bool ColorPopup::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // The popup owns the keyboard: no shortcut of another window may take these keys.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || isActivationKey(key) || isNavigationKey(key)) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::ToolTip: {
            const auto* help = static_cast<QHelpEvent*>(event);
            const int item = itemAt(help->pos());
            if (isCell(item)) {
                QToolTip::showText(help->globalPos(),
                                   QString::fromUtf16(paletteColors()[item].name), this,
                                   itemRect(item));
            } else {
                QToolTip::hideText();
                event->ignore();
            }
            return true;
        }
        default:
            break;
    }
    return QWidget::event(event);
}

void ColorPopup::drawEntry(QPainter& painter, int item, const QString& text) const {
    const QRect r = itemRect(item);
    if (item == m_highlighted) {
        painter.fillRect(r, palette().color(QPalette::Active, QPalette::Highlight));
        painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    } else {
        qDrawShadeRect(&painter, r, palette(), false, 1);
        painter.setPen(palette().color(QPalette::ButtonText));
    }
    painter.drawText(r, Qt::AlignCenter, text);
}

void ColorPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    qDrawWinPanel(&painter, rect(), palette(), false);

    if (m_allowTransparent) drawEntry(painter, kTransparentItem, transparentText());

    const auto& colors = paletteColors();
    for (int i = 0; i < kPaletteSize; ++i) {
        const QRect r = cellRect(i);
        if (i == m_highlighted) {
            painter.fillRect(r.adjusted(-3, -3, 3, 3),
                             palette().color(QPalette::Active, QPalette::Highlight));
            painter.fillRect(r.adjusted(-1, -1, 1, 1), Qt::white);
        }
        painter.fillRect(r, toQColor(colors[static_cast<std::size_t>(i)].value));
        painter.setPen(kCellBorder);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }

    drawEntry(painter, kMoreItem, moreText());
}

void ColorPopup::mouseMoveEvent(QMouseEvent* event) {
    const int item = itemAt(event->position().toPoint());
    if (item != kNoItem) setHighlighted(item);
}

void ColorPopup::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        // A press on the picker that opened us only closes the popup: it must not
        // reach the picker again and reopen it.
        if (auto* picker = parentWidget()) {
            const QPoint onPicker = picker->mapFromGlobal(event->globalPosition().toPoint());
            if (picker->rect().contains(onPicker)) setAttribute(Qt::WA_NoMouseReplay);
        }
        m_pressInside = false;
        close();
        return;
    }
    m_pressInside = true;
    const int item = itemAt(pos);
    if (item != kNoItem) setHighlighted(item);
    event->accept();
}

void ColorPopup::mouseReleaseEvent(QMouseEvent* event) {
    const bool pressedHere = std::exchange(m_pressInside, false);
    if (event->button() != Qt::LeftButton || !pressedHere) return;
    const int item = itemAt(event->position().toPoint());
    if (item != kNoItem) activate(item);
}

void ColorPopup::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    event->accept();  // the popup owns the keyboard while it is open
    if (key == Qt::Key_Escape) {
        close();
    } else if (isActivationKey(key)) {
        if (!event->isAutoRepeat()) activate(m_highlighted);
    } else if (key == Qt::Key_Up) {
        setHighlighted(itemAbove(m_highlighted));
    } else if (key == Qt::Key_Down) {
        setHighlighted(itemBelow(m_highlighted));
    } else if (key == Qt::Key_Left) {
        setHighlighted(itemBefore(m_highlighted));
    } else if (key == Qt::Key_Right) {
        setHighlighted(itemAfter(m_highlighted));
    }
}

void ColorPopup::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_pressInside = false;
    emit closed();
}

// ---------------------------------------------------------------------------
// ColorPicker

ColorPicker::ColorPicker(QWidget* parent) : QWidget(parent), m_popup(new ColorPopup(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(m_popup, &ColorPopup::colorChosen, this, &ColorPicker::confirm);
    connect(m_popup, &ColorPopup::moreColorsRequested, this, [this] {
        // Leave the popup's event handler before running the dialog's modal loop.
        QMetaObject::invokeMethod(this, &ColorPicker::openColorDialog, Qt::QueuedConnection);
    });
    connect(m_popup, &ColorPopup::closed, this, qOverload<>(&QWidget::update));
}

void ColorPicker::setColor(Color color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

void ColorPicker::setAllowTransparent(bool allow) { m_allowTransparent = allow; }

ColorPopup* ColorPicker::popup() const { return m_popup->isVisible() ? m_popup : nullptr; }

void ColorPicker::showPopup() {
    if (m_popup->isVisible() || m_dialogOpen || !isEnabled() || !isVisible()) return;
    m_popup->setAllowTransparent(m_allowTransparent);
    m_popup->highlightColor(m_color);
    m_popup->setAttribute(Qt::WA_NoMouseReplay, false);
    const QSize size = m_popup->sizeHint();
    const QRect anchor(mapToGlobal(QPoint(0, 0)), this->size());
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen) screen = this->screen();
    m_popup->setGeometry(QRect(popupPosition(anchor, size, screen->availableGeometry()), size));
    m_popup->show();
    update();
}

void ColorPicker::hidePopup() { m_popup->close(); }

void ColorPicker::setColorDialogProvider(ColorDialogProvider provider) {
    dialogProvider() = std::move(provider);
}

QSize ColorPicker::sizeHint() const { return {72, 22}; }

QSize ColorPicker::minimumSizeHint() const { return {kArrowWidth + 20, 16}; }

void ColorPicker::confirm(Color color) {
    m_color = color;
    update();
    emit colorChanged(color);
}

void ColorPicker::openColorDialog() {
    if (m_dialogOpen) return;
    m_dialogOpen = true;
    const QPointer<ColorPicker> self(this);
    const auto& provider = dialogProvider();
    const std::optional<QColor> chosen =
        provider ? provider(toQColor(m_color), this) : defaultColorDialog(toQColor(m_color), this);
    if (!self) return;
    m_dialogOpen = false;
    if (chosen && chosen->isValid()) confirm(fromQColor(*chosen));
}

QRect ColorPicker::arrowRect() const {
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    return {inner.right() + 1 - kArrowWidth, inner.top(), kArrowWidth, inner.height()};
}

bool ColorPicker::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && m_popup->isVisible() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();  // ESC belongs to the open popup, not to the window
        return true;
    }
    return QWidget::event(event);
}

void ColorPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QBrush base = pal.brush(QPalette::Base);
    qDrawWinPanel(&painter, rect(), pal, true, &base);

    // Drop-down button at the right, pressed while the popup is open.
    const QRect arrow = arrowRect();
    const bool open = m_popup->isVisible();
    const QBrush button = pal.brush(QPalette::Button);
    qDrawWinButton(&painter, arrow, pal, open, &button);
    QStyleOption option;
    option.initFrom(this);
    option.rect = arrow.adjusted(3, 3, -3, -3).translated(open ? QPoint(1, 1) : QPoint());
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);

    // Swatch of the current colour with the focus rectangle around it.
    const QRect area(rect().left() + 2, arrow.top(), arrow.left() - rect().left() - 2,
                     arrow.height());
    const QRect swatch = area.adjusted(3, 3, -3, -3);
    if (swatch.isValid()) {
        painter.fillRect(swatch, isEnabled() ? toQColor(m_color) : pal.color(QPalette::Button));
        painter.setPen(isEnabled() ? kCellBorder : pal.color(QPalette::Disabled, QPalette::Text));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(1, 1, -2, -2));
    }
}

void ColorPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (m_popup->isVisible())
        hidePopup();
    else
        showPopup();
}

void ColorPicker::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    const bool opens = (mods == Qt::NoModifier && (key == Qt::Key_Space || key == Qt::Key_F4)) ||
                       (mods == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up));
    if (opens && !event->isAutoRepeat()) {
        event->accept();
        showPopup();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ColorPicker::hideEvent(QHideEvent* event) {
    hidePopup();
    QWidget::hideEvent(event);
}

void ColorPicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) hidePopup();
    QWidget::changeEvent(event);
}

}  // namespace fc::ui
