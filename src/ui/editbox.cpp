#include "ui/editbox.h"

#include "services/integer_input.h"
#include "services/text.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

namespace fc::ui {
namespace {

// Refuses any edit that would take the text past the limit in GBK bytes.
class ByteLimitValidator final : public QValidator {
public:
    ByteLimitValidator(int maxBytes, QObject* parent) : QValidator(parent), max_(maxBytes) {}
    State validate(QString& input, int& /*pos*/) const override {
        return services::byteLength(input) <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

bool allAccepted(const QString& text) {
    return std::all_of(text.begin(), text.end(), services::isAcceptedIntegerChar);
}

// Whether a key press types text, as opposed to an editing key or a shortcut. The
// text a platform attaches cannot tell: Delete carries "\x7f" on X11, and Ctrl+V
// carries "v" on macOS (Cmd+V) and from QTest. Ctrl and Ctrl+Shift chords never
// insert text into a line edit; AltGr (Ctrl+Alt) does and stays filtered.
bool typesText(const QKeyEvent* event) {
    const QString text = event->text();
    const bool controlOnly = std::all_of(
        text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (controlOnly) return false;
    const Qt::KeyboardModifiers mods =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return mods != Qt::ControlModifier;
}

}  // namespace

EditBox::EditBox(const EditBoxSettings& s, QWidget* parent)
    : QLineEdit(s.content, parent), integerOnly_(s.integerOnly), maxBytes_(s.maxBytes) {
    setFrame(true);
    setAlignment((s.align == Align::Center ? Qt::AlignHCenter
                  : s.align == Align::Far  ? Qt::AlignRight
                                           : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, toQColor(s.textColor));
    pal.setColor(QPalette::Base, toQColor(s.backColor));
    setPalette(pal);
    if (maxBytes_ > 0) setValidator(new ByteLimitValidator(maxBytes_, this));
}

void EditBox::keyPressEvent(QKeyEvent* event) {
    // Only what is typed is filtered; editing keys and shortcuts such as Ctrl+V
    // pass, so a paste is not filtered.
    if (integerOnly_ && typesText(event) && !allAccepted(event->text())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
    if (integerOnly_ && !allAccepted(event->commitString())) {
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        QString kept;
        for (QChar c : event->commitString()) {
            if (services::isAcceptedIntegerChar(c)) kept.append(c);
        }
        filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
        QLineEdit::inputMethodEvent(&filtered);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    // A popup such as the box's own context menu only borrows the focus: the user
    // is still in the box, so its text stays as it is.
    if (integerOnly_ && event->reason() != Qt::PopupFocusReason) {
        const QString normal = services::normaliseIntegerText(text());
        if (normal != text()) {
            const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
            setText(normal);
            setCursorPosition(std::min(caret, static_cast<int>(normal.size())));
        }
    }
    QLineEdit::focusOutEvent(event);
}

}  // namespace fc::ui
