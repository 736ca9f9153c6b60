#pragma once

#include "ui/design.h"

#include <QLineEdit>

namespace fc::ui {

// Single-line edit box. Integer boxes drop typed characters other than digits and
// "-" and bring their text into standard form when the focus leaves; a maximum
// length counts GBK bytes.
class EditBox final : public QLineEdit {
    Q_OBJECT
public:
    EditBox(const EditBoxSettings& settings, QWidget* parent);

    bool integerOnly() const { return integerOnly_; }
    int maxBytes() const { return maxBytes_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool integerOnly_;
    int maxBytes_;
};

}  // namespace fc::ui
