#include "ui/label.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include <cmath>

namespace fc::ui {

double screenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

int pointsToPixels(std::int64_t points, double dpiY) {
    if (points <= 0) return 0;
    // Computed in double and capped before the conversion back, so a huge size can
    // neither overflow nor ask the font engine for giant glyphs.
    const double px = std::round(static_cast<double>(points) * dpiY / 72.0);
    return px >= kMaxFontPixels ? kMaxFontPixels : static_cast<int>(px);
}

int pixelsToPoints(int pixels, double dpiY) {
    if (pixels <= 0) return 0;
    return static_cast<int>(std::lround(pixels * 72.0 / dpiY));
}

namespace {

Qt::Alignment toQt(Align h, Align v) {
    Qt::Alignment a;
    a |= h == Align::Near ? Qt::AlignLeft : h == Align::Center ? Qt::AlignHCenter : Qt::AlignRight;
    a |= v == Align::Near ? Qt::AlignTop : v == Align::Center ? Qt::AlignVCenter : Qt::AlignBottom;
    return a;
}

}  // namespace

Label::Label(const LabelSettings& s, QWidget* parent)
    : QWidget(parent),
      caption_(s.caption),
      spec_(s.font),
      textColor_(s.textColor),
      backColor_(s.backColor),
      hAlign_(s.hAlign),
      vAlign_(s.vAlign) {
    // Fully painted by paintEvent: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    pixelHeight_ = pointsToPixels(s.fontSizePt, screenDpiY());
    applyFont();
}

void Label::setCaption(const QString& text) {
    if (text == caption_) return;
    caption_ = text;
    changed();
}

int Label::fontSizePoints() const { return pixelsToPoints(pixelHeight_, screenDpiY()); }

void Label::setFontSizePoints(std::int64_t points) {
    pixelHeight_ = pointsToPixels(points, screenDpiY());
    applyFont();
    changed();
}

void Label::setTextColor(Color c) {
    if (c == textColor_) return;
    textColor_ = c;
    changed();
}

void Label::setBackColor(Color c) {
    if (c == backColor_) return;
    backColor_ = c;
    changed();
}

void Label::setHAlign(Align a) {
    hAlign_ = a;
    changed();
}

void Label::setVAlign(Align a) {
    vAlign_ = a;
    changed();
}

void Label::applyFont() {
    QFont f = QApplication::font();
    if (!spec_.face.isEmpty()) f.setFamily(spec_.face);
    f.setWeight(static_cast<QFont::Weight>(spec_.weight));
    f.setItalic(spec_.italic);
    f.setUnderline(spec_.underline);
    f.setStrikeOut(spec_.strikeOut);
    if (pixelHeight_ > 0) f.setPixelSize(pixelHeight_);
    setFont(f);
}

void Label::changed() {
    pictureValid_ = false;
    changedSincePaint_ = true;
    update();
}

void Label::resizeEvent(QResizeEvent* event) {
    pictureValid_ = false;
    changedSincePaint_ = true;
    QWidget::resizeEvent(event);
}

void Label::draw(QPainter& p) const {
    p.fillRect(rect(), toQColor(backColor_));
    if (caption_.isEmpty()) return;
    p.setPen(toQColor(textColor_));
    p.setFont(font());
    // One line, placed by the alignments; the label's bounds cut what overflows.
    p.drawText(rect(), static_cast<int>(toQt(hAlign_, vAlign_)) | Qt::TextSingleLine, caption_);
}

void Label::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (pictureValid_ && picture_.size() == pixels) {
        p.drawPixmap(0, 0, picture_);
        return;
    }
    // Up to about 64 MB of picture; a bigger label (a huge band on a huge screen)
    // is always drawn directly.
    constexpr qint64 kMaxPicturePixels = qint64(16) << 20;
    if (changedSincePaint_ || pixels.isEmpty() ||
        qint64(pixels.width()) * pixels.height() > kMaxPicturePixels) {
        draw(p);
        changedSincePaint_ = false;
        return;
    }
    picture_ = QPixmap(pixels);
    picture_.setDevicePixelRatio(dpr);
    QPainter pp(&picture_);
    draw(pp);
    pp.end();
    pictureValid_ = true;
    p.drawPixmap(0, 0, picture_);
}

}  // namespace fc::ui
