#pragma once

#include "ui/color.h"
#include "ui/design.h"

#include <QPixmap>
#include <QWidget>

namespace fc::ui {

// Largest character height the layer asks of the font engine, in pixels: the
// same bound as any other size the layer takes.
inline constexpr int kMaxFontPixels = 32627;

// Font size in points <-> character height in pixels at a vertical resolution.
// Negative sizes count as 0; 0 means the platform's default height.
int pointsToPixels(std::int64_t points, double dpiY);
int pixelsToPoints(int pixels, double dpiY);

// An opaque, single-line text label. The caption is clipped at the label's edges
// without ellipsis or wrapping.
class Label final : public QWidget {
    Q_OBJECT
public:
    Label(const LabelSettings& settings, QWidget* parent);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& text);

    int fontSizePoints() const;
    void setFontSizePoints(std::int64_t points);
    int fontPixelHeight() const { return pixelHeight_; }

    Color textColor() const { return textColor_; }
    void setTextColor(Color c);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);

    Align hAlign() const { return hAlign_; }
    void setHAlign(Align a);
    Align vAlign() const { return vAlign_; }
    void setVAlign(Align a);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyFont();
    void changed();  // the picture must be drawn afresh
    void draw(QPainter& p) const;

    QString caption_;
    FontSpec spec_;
    int pixelHeight_ = 0;
    Color textColor_;
    Color backColor_;
    Align hAlign_;
    Align vAlign_;
    // A label painted again without a change (it moved, or was uncovered) is drawn
    // once into a picture and then only copied: big glyphs are drawn as outlines by
    // the font engine every time. A label that changes at every paint skips it.
    QPixmap picture_;
    bool pictureValid_ = false;
    bool changedSincePaint_ = true;
};

// The vertical resolution that point sizes are converted with.
double screenDpiY();

}  // namespace fc::ui
