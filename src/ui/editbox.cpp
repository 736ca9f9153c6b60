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
    // Only what is typed is filtered; shortcuts such as Ctrl+V carry control
    // characters or no text and pass, so a paste is not filtered.
    if (integerOnly_ && !event->text().isEmpty() && !allAccepted(event->text())) {
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
    if (integerOnly_) {
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
