#pragma once

// The colour picker component: a swatch with a drop-down arrow that
// opens a popup palette of 32 named colours and the entry "其它颜色...", which
// leads to the platform's full colour dialog.

#include <QColor>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

#include "ui/color.h"

namespace fc::ui {

struct NamedColor {
    const char16_t* name;
    Color value;  // 0x00BBGGRR
};

inline constexpr int kPaletteColumns = 7;
inline constexpr int kPaletteSize = 32;

// The palette cells row by row, seven to a row (the last row holds four).
const std::array<NamedColor, kPaletteSize>& paletteColors();

// Top-left corner, in global coordinates, of a popup of `size` opened for a
// control at `anchor` (global coordinates): just below the control's lower-left
// corner. When it would leave `screen` it opens above the control instead, and
// it is moved left or up as far as needed to lie entirely inside `screen`.
QPoint popupPosition(const QRect& anchor, const QSize& size, const QRect& screen);

// Shows a full colour dialog starting at `initial`; nullopt when cancelled.
using ColorDialogProvider =
    std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

// The palette popup of a ColorPicker (a Qt::Popup window owned by the picker).
// Items are the cells 0..31, kMoreItem ("其它颜色...") and, when transparency is
// allowed, kTransparentItem ("透明").
class ColorPopup : public QWidget {
    Q_OBJECT

public:
    static constexpr int kNoItem = -2;
    static constexpr int kTransparentItem = -1;
    static constexpr int kMoreItem = kPaletteSize;
    static constexpr int kCellSize = 18;

    explicit ColorPopup(QWidget* parent = nullptr);

    void setAllowTransparent(bool allow);
    bool allowTransparent() const { return m_allowTransparent; }

    // Highlights the cell holding `current` (or "透明" for kDefaultColor when it
    // is offered), else the first cell.
    void highlightColor(Color current);
    void setHighlighted(int item);
    int highlighted() const { return m_highlighted; }

    QRect cellRect(int index) const;  // popup coordinates
    QRect itemRect(int item) const;   // any item; empty for an item not shown
    int itemAt(const QPoint& pos) const;

    QSize sizeHint() const override;

signals:
    void colorChosen(fc::ui::Color color);
    void moreColorsRequested();
    void closed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int gridTop() const;
    int itemAbove(int item) const;
    int itemBelow(int item) const;
    int itemBefore(int item) const;
    int itemAfter(int item) const;
    void activate(int item);
    void drawEntry(QPainter& painter, int item, const QString& text) const;

    bool m_allowTransparent = false;
    bool m_pressInside = false;
    int m_highlighted = 0;
    int m_column = 0;  // column to return to when moving up or down from an entry
};

class ColorPicker : public QWidget {
    Q_OBJECT

public:
    explicit ColorPicker(QWidget* parent = nullptr);

    Color color() const { return m_color; }
    void setColor(Color color);  // does not emit colorChanged

    void setAllowTransparent(bool allow);
    bool allowTransparent() const { return m_allowTransparent; }

    // The popup while it is open, else nullptr.
    ColorPopup* popup() const;
    void showPopup();
    void hidePopup();

    // Replaces the full colour dialog (tests); an empty function restores
    // QColorDialog::getColor.
    static void setColorDialogProvider(ColorDialogProvider provider);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user confirmed a colour in the popup or the colour dialog (also when
    // it equals the current one). setColor() does not emit it.
    void colorChanged(fc::ui::Color color);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void confirm(Color color);
    void openColorDialog();
    QRect arrowRect() const;

    Color m_color = 0;
    bool m_allowTransparent = false;
    bool m_dialogOpen = false;
    ColorPopup* m_popup;  // owned by this widget as its Qt child
};

}  // namespace fc::ui
