#pragma once

#include "ui/color.h"
#include "ui/design.h"

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

private:
    void applyFont();

    QString caption_;
    FontSpec spec_;
    int pixelHeight_ = 0;
    Color textColor_;
    Color backColor_;
    Align hAlign_;
    Align vAlign_;
};

// The vertical resolution that point sizes are converted with.
double screenDpiY();

}  // namespace fc::ui
