#include "ui/topwindow.h"

#include "ui/layer.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

namespace fc::ui {

TopWindow::TopWindow(QString name, bool escCloses, bool enterMovesFocus)
    : name_(std::move(name)), escCloses_(escCloses), enterMovesFocus_(enterMovesFocus) {}

void TopWindow::watch(QWidget* control) { control->installEventFilter(this); }

void TopWindow::setOuterSize(QSize outer) {
    outer_ = outer;
    fitFrame();
}

QSize TopWindow::outerSize() const { return outer_; }

void TopWindow::fitFrame() {
    // Before the window manager has framed the window the frame is unknown (and
    // without one there is none): the client area then takes the whole size.
    const QMargins m = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    knownFrame_ = m;
    const QSize client(std::max(0, outer_.width() - m.left() - m.right()),
                       std::max(0, outer_.height() - m.top() - m.bottom()));
    if (minimumSize() == maximumSize() && minimumSize() != QSize(0, 0)) {
        setFixedSize(client);
    } else {
        resize(client);
    }
}

bool TopWindow::event(QEvent* event) {
    const bool result = QWidget::event(event);
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show ||
         event->type() == QEvent::Resize) &&
        windowHandle() != nullptr && windowHandle()->frameMargins() != knownFrame_) {
        fitFrame();
    }
    return result;
}

bool TopWindow::handleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier) return false;
    switch (event->key()) {
        case Qt::Key_Escape:
            // Only a fresh press: the repeats of an ESC held to leave another window
            // must not close this one.
            if (!escCloses_ || event->isAutoRepeat()) return escCloses_;
            Layer::instance().destroy(name_);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A focused default button takes it; else Enter moves the focus where the
            // design says so; else the first default button is clicked; else nothing.
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused != nullptr && focused->isDefault()) {
                focused->click();
            } else if (enterMovesFocus_) {
                focusNextChild();
            } else {
                for (const QPointer<QPushButton>& b : defaultButtons_) {
                    if (b && b->isVisible() && b->isEnabled()) {
                        b->click();
                        break;
                    }
                }
            }
            return true;
        }
        default:
            return false;
    }
}

bool TopWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event))) return true;
    return QWidget::eventFilter(watched, event);
}

void TopWindow::keyPressEvent(QKeyEvent* event) {
    if (handleKey(event)) return;
    QWidget::keyPressEvent(event);
}

void TopWindow::closeEvent(QCloseEvent* event) {
    // Closing from the frame or the platform goes the same way as a destroy request.
    event->ignore();
    Layer::instance().destroy(name_);
}

}  // namespace fc::ui
