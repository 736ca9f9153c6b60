// The edit box on its own: what typing, pasting and leaving the box do to its text,
// and the length limit in GBK bytes.
#include "services/integer_input.h"
#include "ui/editbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <memory>

using fc::ui::EditBox;
using fc::ui::EditBoxSettings;

namespace {

// One key stroke as a platform delivers it: the same key carries different texts on
// different platforms (Ctrl+A gives "\x01" on X11 and Windows, "a" from macOS and
// QTest; Delete gives "\x7f" on X11).
struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QString text;
};
using Strokes = QList<Stroke>;

Qt::Key keyOf(QChar c) {
    // Latin-1 characters have key codes equal to their upper-case code.
    return c.unicode() >= 0x20 && c.unicode() < 0x7F ? static_cast<Qt::Key>(c.toUpper().unicode())
                                                     : Qt::Key_unknown;
}

// Types `text` one character at a time, each character as the key event's text
// (QTest::keyClicks only knows Latin-1).
void type(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString ch = text.mid(i, len);
        QTest::sendKeyEvent(QTest::Click, w, keyOf(ch[0]), ch, Qt::NoModifier);
        i += len;
    }
}

void press(QWidget* w, const Strokes& strokes) {
    for (const Stroke& s : strokes) QTest::sendKeyEvent(QTest::Click, w, s.key, s.text, s.mods);
}

// A shown, active window holding the box under test and a second box that the
// focus can move to.
struct Form {
    QWidget window;
    EditBox* box;
    QLineEdit* other;

    explicit Form(const EditBoxSettings& settings)
        : box(new EditBox(settings, &window)), other(new QLineEdit(&window)) {
        window.resize(300, 100);
        box->setGeometry(10, 10, 120, 30);
        other->setGeometry(150, 10, 120, 30);
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
    }

    // The box holds `text` and the focus, with `length` characters from `start`
    // selected (a negative length selects backwards, leaving the caret at the left).
    bool enter(const QString& text, int start, int length = 0) {
        if (!QTest::qWaitForWindowActive(&window)) return false;
        box->setFocus(Qt::TabFocusReason);
        box->setText(text);
        if (length == 0) {
            box->setCursorPosition(start);
        } else {
            box->setSelection(start, length);
        }
        return box->hasFocus();
    }

    void leave() { other->setFocus(Qt::TabFocusReason); }
};

EditBoxSettings integerBox(int maxBytes = 0) {
    EditBoxSettings s;
    s.integerOnly = true;
    s.maxBytes = maxBytes;
    return s;
}

EditBoxSettings textBox(int maxBytes = 0) {
    EditBoxSettings s;
    s.maxBytes = maxBytes;
    return s;
}

QMenu* openContextMenu(QLineEdit* box) {
    const QPoint pos = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, box->mapToGlobal(pos));
    QApplication::sendEvent(box, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The entry of the line edit's own menu for a standard shortcut, found by the
// shortcut written after its text ("&Paste\tCtrl+V"), which does not depend on the
// language of the menu.
QAction* menuAction(QMenu* menu, QKeySequence::StandardKey key) {
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    for (QAction* a : menu->actions()) {
        if (a->text().endsWith(QLatin1Char('\t') + shortcut)) return a;
    }
    return nullptr;
}

}  // namespace

Q_DECLARE_METATYPE(Stroke)

class EditBoxTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QApplication::clipboard()->clear(); }

    void integerBoxFiltersTypedCharacters_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");

        QTest::newRow("letters") << "" << 0 << "abcXYZ"
                                 << "";
        QTest::newRow("full stop") << "1" << 1 << ".5"
                                   << "15";
        QTest::newRow("plus sign") << "" << 0 << "+7"
                                   << "7";
        QTest::newRow("space") << "4" << 1 << " 2"
                               << "42";
        QTest::newRow("full-width digits") << "" << 0 << "１２３"
                                           << "";
        QTest::newRow("Chinese") << "" << 0 << "中文"
                                 << "";
        QTest::newRow("emoji") << "" << 0 << "🎉"
                               << "";
        QTest::newRow("every digit") << "" << 0 << "0123456789"
                                     << "0123456789";
        QTest::newRow("minus in front") << "15" << 0 << "-"
                                        << "-15";
        QTest::newRow("minus inside") << "15" << 1 << "-"
                                      << "1-5";
        QTest::newRow("minus twice at the end") << "15" << 2 << "--"
                                                << "15--";
        QTest::newRow("digit inside") << "15" << 1 << "0"
                                      << "105";
        QTest::newRow("mixed") << "" << 0 << "a1.b-2c"
                               << "1-2";
    }
    void integerBoxFiltersTypedCharacters() {
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        Form form(integerBox());
        QVERIFY(form.enter(before, caret));
        type(form.box, typed);
        QCOMPARE(form.box->text(), after);
    }

    // Editing keys and shortcuts are no typed characters, whatever text the platform
    // attaches to them.
    void integerBoxPassesEditingKeys_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<Strokes>("strokes");
        QTest::addColumn<QString>("after");

        const Stroke backspace{Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")};
        QTest::newRow("Backspace") << "123" << 3 << Strokes{backspace} << "12";
        QTest::newRow("Delete with DEL text")
            << "123" << 0 << Strokes{{Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f")}}
            << "23";
        QTest::newRow("Delete without text")
            << "123" << 0 << Strokes{{Qt::Key_Delete, Qt::NoModifier, QString()}} << "23";
        QTest::newRow("Home then digit")
            << "12" << 2 << Strokes{{Qt::Key_Home, Qt::NoModifier, QString()}, {Qt::Key_9, {}, "9"}}
            << "912";
        QTest::newRow("Ctrl+A as control character")
            << "123" << 1
            << Strokes{{Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01")}, backspace} << "";
        QTest::newRow("Ctrl+A carrying its letter")
            << "123" << 1
            << Strokes{{Qt::Key_A, Qt::ControlModifier, QStringLiteral("a")}, backspace} << "";
        QTest::newRow("Ctrl+X then Ctrl+V carrying letters")
            << "123" << 1
            << Strokes{{Qt::Key_A, Qt::ControlModifier, QStringLiteral("a")},
                       {Qt::Key_X, Qt::ControlModifier, QStringLiteral("x")},
                       {Qt::Key_End, Qt::NoModifier, QString()},
                       {Qt::Key_V, Qt::ControlModifier, QStringLiteral("v")},
                       {Qt::Key_V, Qt::ControlModifier, QStringLiteral("v")}}
            << "123123";
    }
    void integerBoxPassesEditingKeys() {
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(Strokes, strokes);
        QFETCH(QString, after);
        Form form(integerBox());
        QVERIFY(form.enter(before, caret));
        press(form.box, strokes);
        QCOMPARE(form.box->text(), after);
    }

    // Text committed by an input method is typed text too.
    void inputMethodCommit_data() {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("after");

        QTest::newRow("integer box keeps digits and minus") << true << "1a-２2"
                                                            << "1-2";
        QTest::newRow("integer box drops Chinese") << true << "中文"
                                                   << "";
        QTest::newRow("text box keeps everything") << false << "活动1a🎉"
                                                   << "活动1a🎉";
    }
    void inputMethodCommit() {
        QFETCH(bool, integer);
        QFETCH(QString, commit);
        QFETCH(QString, after);
        Form form(integer ? integerBox() : textBox());
        QVERIFY(form.enter(QString(), 0));
        QInputMethodEvent event;
        event.setCommitString(commit);
        QApplication::sendEvent(form.box, &event);
        QCOMPARE(form.box->text(), after);
    }

    // A paste is not filtered: the text stays as pasted while the box has the focus,
    // even when the user opens the context menu again, and is only brought into
    // standard form when the focus leaves.
    void pasteIsKeptUntilFocusLeaves_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl+V as control character") << "ctrl-v-control";
        QTest::newRow("Ctrl+V as QTest sends it") << "ctrl-v-qtest";
        QTest::newRow("context menu") << "menu";
    }
    void pasteIsKeptUntilFocusLeaves() {
        QFETCH(QString, how);
        Form form(integerBox());
        QVERIFY(form.enter(QString(), 0));
        QApplication::clipboard()->setText(QStringLiteral("12ab"));

        if (how == QLatin1String("ctrl-v-control")) {
            press(form.box, {{Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")}});
        } else if (how == QLatin1String("ctrl-v-qtest")) {
            QTest::keyClick(form.box, Qt::Key_V, Qt::ControlModifier);
        } else {
            QMenu* menu = openContextMenu(form.box);
            QVERIFY(menu != nullptr);
            QAction* paste = menuAction(menu, QKeySequence::Paste);
            QVERIFY(paste != nullptr);
            QVERIFY(paste->isEnabled());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
            QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        }
        QCOMPARE(form.box->text(), QStringLiteral("12ab"));
        QVERIFY(form.box->hasFocus());

        // Opening and dismissing the context menu does not take the focus from the box.
        QMenu* menu = openContextMenu(form.box);
        QVERIFY(menu != nullptr);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QCOMPARE(form.box->text(), QStringLiteral("12ab"));

        form.leave();
        QCOMPARE(form.box->text(), QStringLiteral("12"));
    }

    void focusOutNormalises_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");

        const QString fortyDigits = QStringLiteral("1234567890").repeated(4);
        QTest::newRow("leading zeros") << "007" << 3 << 0 << "7" << 1;
        QTest::newRow("zero") << "0" << 1 << 0 << "" << 0;
        QTest::newRow("lone minus") << "-" << 1 << 0 << "" << 0;
        QTest::newRow("two minus signs and 5") << "--5" << 3 << 0 << "" << 0;
        QTest::newRow("minus inside") << "12-3" << 4 << 0 << "12" << 2;
        QTest::newRow("negative with zero") << "-05" << 3 << 0 << "-5" << 2;
        QTest::newRow("minus zero") << "-0" << 2 << 0 << "" << 0;
        QTest::newRow("above int max") << "2147483648" << 10 << 0 << "2147483647" << 10;
        QTest::newRow("eleven nines") << "99999999999" << 11 << 0 << "2147483647" << 10;
        QTest::newRow("below int min") << "-2147483649" << 0 << 0 << "-2147483648" << 0;
        QTest::newRow("int min kept") << "-2147483648" << 4 << 0 << "-2147483648" << 4;
        QTest::newRow("forty digits") << fortyDigits << 40 << 0 << "2147483647" << 10;
        QTest::newRow("forty digits negative") << "-" + fortyDigits << 0 << 0 << "-2147483648" << 0;
        QTest::newRow("leading space") << " 42" << 3 << 0 << "42" << 2;
        QTest::newRow("pasted plus sign") << "+12" << 0 << 0 << "12" << 0;
        QTest::newRow("pasted letters after digits") << "12ab" << 4 << 0 << "12" << 2;
        QTest::newRow("pasted letters before digits") << "ab12" << 4 << 0 << "" << 0;
        QTest::newRow("unchanged keeps the caret") << "73" << 1 << 0 << "73" << 1;
        QTest::newRow("empty stays empty") << "" << 0 << 0 << "" << 0;
        QTest::newRow("caret at selection start") << "0070" << 1 << 2 << "70" << 1;
        QTest::newRow("caret at start of backward selection") << "-005" << 3 << -2 << "-5" << 1;
        QTest::newRow("selection start past the new end") << "12-345" << 3 << 3 << "12" << 2;
    }
    void focusOutNormalises() {
        QFETCH(QString, before);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        Form form(integerBox());
        QVERIFY(form.enter(before, selStart, selLength));
        form.leave();
        QVERIFY(!form.box->hasFocus());
        QCOMPARE(form.box->text(), after);
        QCOMPARE(form.box->cursorPosition(), caretAfter);
    }

    // Leaving the window counts as leaving the box.
    void windowDeactivationNormalises() {
        Form form(integerBox());
        QVERIFY(form.enter(QStringLiteral("007"), 3));
        QWidget elsewhere;
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QCOMPARE(form.box->text(), QStringLiteral("7"));
    }

    void byteLimit_data() {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");

        QTest::newRow("third digit refused") << true << 2 << "123"
                                             << "12";
        QTest::newRow("99 accepted") << true << 2 << "99"
                                     << "99";
        QTest::newRow("-5 accepted") << true << 2 << "-5"
                                     << "-5";
        QTest::newRow("digit after -5 refused") << true << 2 << "-56"
                                                << "-5";
        QTest::newRow("no limit") << true << 0 << "12345678901234567890"
                                  << "12345678901234567890";
        QTest::newRow("Chinese counts two") << false << 2 << "中a"
                                            << "中";
        QTest::newRow("Chinese after a byte refused") << false << 2 << "a中b"
                                                      << "ab";
        QTest::newRow("emoji counts two") << false << 2 << "🎉1"
                                          << "🎉";
        QTest::newRow("Chinese and emoji in four") << false << 4 << "中🎉x"
                                                   << "中🎉";
        QTest::newRow("euro sign counts one") << false << 2 << "€€x"
                                              << "€€";
        QTest::newRow("text without limit")
            << false << 0 << QString(300, u'x') << QString(300, u'x');
    }
    void byteLimit() {
        QFETCH(bool, integer);
        QFETCH(int, maxBytes);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        Form form(integer ? integerBox(maxBytes) : textBox(maxBytes));
        QVERIFY(form.enter(QString(), 0));
        type(form.box, typed);
        QCOMPARE(form.box->text(), after);
    }

    // A full box can still be edited: what is removed or replaced frees its bytes.
    void fullBoxStaysEditable() {
        Form form(integerBox(2));
        QVERIFY(form.enter(QStringLiteral("99"), 2));
        press(form.box, {{Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")}});
        type(form.box, QStringLiteral("5"));
        QCOMPARE(form.box->text(), QStringLiteral("95"));
        form.box->selectAll();
        type(form.box, QStringLiteral("7"));
        QCOMPARE(form.box->text(), QStringLiteral("7"));
    }

    // Text the code page cannot hold is kept as typed, not replaced by "?", and a
    // text box is never normalised.
    void textBoxKeepsAnyText() {
        Form form(textBox());
        QVERIFY(form.enter(QString(), 0));
        const QString typed = QStringLiteral("活动名称 🎉 007 -5 ＡＢ１ ß");
        type(form.box, typed);
        QCOMPARE(form.box->text(), typed);
        form.leave();
        QCOMPARE(form.box->text(), typed);
    }

    // Cases of the standard form that the box cannot show through typing or that the
    // box tests above leave out.
    void normaliseIntegerText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normal");

        QTest::newRow("null") << QString() << QString();
        QTest::newRow("white space of every kind") << "\t\n\v\f\r 42"
                                                   << "42";
        QTest::newRow("space after the sign") << "- 5"
                                              << "";
        QTest::newRow("sign twice") << "+-5"
                                    << "";
        QTest::newRow("space between digits") << "4 2"
                                              << "4";
        QTest::newRow("trailing space") << "42 "
                                        << "42";
        QTest::newRow("full-width digits") << "１２"
                                           << "";
        QTest::newRow("int max kept") << "2147483647"
                                      << "2147483647";
        QTest::newRow("many leading zeros") << QString(60, u'0') + "12"
                                            << "12";
        QTest::newRow("int64 overflow") << "9223372036854775808"
                                        << "2147483647";
        QTest::newRow("negative int64 overflow") << "-9223372036854775809"
                                                 << "-2147483648";
    }
    void normaliseIntegerText() {
        QFETCH(QString, text);
        QFETCH(QString, normal);
        QCOMPARE(fc::services::normaliseIntegerText(text), normal);
    }
};

QTEST_MAIN(EditBoxTest)
#include "test_editbox.moc"
