// SPDX-License-Identifier: MIT
// The header editors, single-line and multi-line: one table of the ways text gets in or the
// cursor moves, each run against both kinds and at the limits 3, 14 and 48; then what only
// the multi-line editor does (wrapping, scrolling, input methods, where it says its cursor is).
#include "FieldLineEdit.h"
#include "WindowFonts.h"
#include "WrappingLineEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <functional>

using namespace quillon;

namespace {

enum class Kind { SingleLine, MultiLine };

// What the user does to the editor in one row of the table.
struct Action {
    std::function<void(FieldLineEdit&)> run;
    bool pastesSelection = false; // the X11 selection, which not every platform has
};

// A text with its cursor written as "|", or its selection as "[...]" with the cursor at "]".
void setMarkedText(FieldLineEdit& editor, QString marked) {
    const qsizetype open = marked.indexOf(u'[');
    if (open >= 0) {
        const qsizetype close = marked.indexOf(u']') - 1;
        marked.remove(open, 1).remove(close, 1);
        editor.setText(marked);
        editor.setSelection(static_cast<int>(open), static_cast<int>(close - open));
        return;
    }
    const qsizetype cursor = marked.indexOf(u'|');
    editor.setText(marked.remove(cursor, 1));
    editor.setCursorPosition(static_cast<int>(cursor));
}

QString markedText(const FieldLineEdit& editor) {
    return editor.text().insert(editor.cursorPosition(), u'|');
}

void typeKey(FieldLineEdit& editor, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(&editor, &release);
}

Action type(const QString& text) {
    return {[text](FieldLineEdit& editor) {
        // One key per character, a surrogate pair in one key, as a keyboard sends them.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
            typeKey(editor, text.mid(i, length));
            i += length - 1;
        }
    }};
}

Action keys(const QList<QKeyCombination>& combinations) {
    return {[combinations](FieldLineEdit& editor) {
        for (const QKeyCombination& combination : combinations)
            QTest::keyClick(&editor, combination.key(), combination.keyboardModifiers());
    }};
}

Action shortcuts(const QList<QKeySequence::StandardKey>& sequences) {
    return {[sequences](FieldLineEdit& editor) {
        for (QKeySequence::StandardKey sequence : sequences)
            QTest::keySequence(&editor, sequence);
    }};
}

Action withClipboard(const QString& text, QClipboard::Mode mode, const Action& action) {
    return {[=](FieldLineEdit& editor) {
        QApplication::clipboard()->setText(text, mode);
        action.run(editor);
    }};
}

// The Paste of the editor's own context menu, found as a user finds it: by its caption.
Action contextMenuPaste() {
    return {[](FieldLineEdit& editor) {
        const QPoint point(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, editor.mapToGlobal(point));
        QApplication::sendEvent(&editor, &event);
        auto* menu = editor.findChild<QMenu*>();
        QVERIFY(menu);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste")))
                paste = action;
        }
        QVERIFY(paste);
        paste->trigger();
        menu->close();
    }};
}

// The middle point of a row of text, or of its right end, in the editor.
QPoint rowPoint(const FieldLineEdit& editor, int row, bool right = false) {
    const int spacing = QFontMetrics(editor.font()).lineSpacing();
    const int y = qobject_cast<const WrappingLineEdit*>(&editor) ? 3 + spacing * row + spacing / 2
                                                                 : editor.height() / 2;
    return {right ? editor.width() - 5 : 3, y};
}

Action click(int row, bool right) {
    return {[=](FieldLineEdit& editor) {
        QTest::mouseClick(&editor, Qt::LeftButton, {}, rowPoint(editor, row, right));
    }};
}

Action then(const Action& first, const Action& second) {
    return {[=](FieldLineEdit& editor) {
        first.run(editor);
        second.run(editor);
    }};
}

Action middleClick(const QString& selection, int row) {
    return {[=](FieldLineEdit& editor) {
                QApplication::clipboard()->setText(selection, QClipboard::Selection);
                QTest::mouseClick(&editor, Qt::MiddleButton, {}, rowPoint(editor, row));
            },
            true};
}

Action inputMethodCommit(const QString& commit, int replacementStart = 0,
                         int replacementLength = 0) {
    return {[=](FieldLineEdit& editor) {
        QInputMethodEvent event;
        event.setCommitString(commit, replacementStart, replacementLength);
        QApplication::sendEvent(&editor, &event);
    }};
}

// An edit by assistive technology, such as speech input, through the editor's accessibility.
Action assistiveEdit(int start, int end, const QString& text) {
    return {[=](FieldLineEdit& editor) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&editor);
        QVERIFY(accessible && accessible->editableTextInterface());
        accessible->editableTextInterface()->replaceText(start, end, text);
    }};
}

const QString smiley = QStringLiteral("\U0001F600"); // outside the BMP: a surrogate pair

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Action)

class HeaderEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    FieldLineEdit* m_line = nullptr;
    WrappingLineEdit* m_wrapping = nullptr;

    void addRow(Kind kind, int limit, const char* path, const QString& before, const Action& action,
                const QString& after) {
        QTest::addRow("%s, limit %d: %s", kind == Kind::SingleLine ? "single-line" : "multi-line",
                      limit, path)
            << kind << limit << before << action << after;
    }

private slots:
    void init() {
        m_window = std::make_unique<QWidget>();
        m_line = new FieldLineEdit(m_window.get());
        m_line->setFont(formFont(QStringLiteral("Courier New")));
        m_line->setGeometry(0, 0, 121, 19);
        m_wrapping = new WrappingLineEdit(m_window.get());
        m_wrapping->setFont(formFont(QStringLiteral("Courier New")));
        m_wrapping->setGeometry(0, 30, 121, 51);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void inputPaths_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("before"); // "|" is the cursor, "[...]" the selection
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("after"); // with "|", the cursor is compared too

        for (Kind kind : {Kind::SingleLine, Kind::MultiLine}) {
            for (int limit : {3, 14, 48}) {
                const QString full(limit, u'a');
                const QString oneShort(limit - 1, u'a');
                const QString tooLong = QStringLiteral("XYZW").repeated(13).left(limit + 1);
                const auto row = [&](const char* path, const QString& before, const Action& action,
                                     const QString& after) {
                    addRow(kind, limit, path, before, action, after);
                };
                row("typing stops at the limit", oneShort + "|", type("XY"), oneShort + "X|");
                row("typing over a selection frees its characters", full.left(limit - 2) + "[aa]",
                    type("XYZ"), full.left(limit - 2) + "XY|");
                row("typing into a text already over the limit", full + "b|", type("x"),
                    full + "b|");
                row("a private-use character is typed only within the limit", full + "|",
                    type(QStringLiteral("\uE000")), full);
                row("a format character is typed only within the limit", full + "|",
                    type(QStringLiteral("\u200D")), full);
                row("a character outside the BMP counts once", oneShort + "|",
                    type(smiley + smiley), oneShort + smiley + "|");
                row("Ctrl+V is cut to what fits", "|",
                    withClipboard(tooLong, QClipboard::Clipboard, shortcuts({QKeySequence::Paste})),
                    tooLong.left(limit) + "|");
                row("Shift+Insert never splits a surrogate pair", oneShort + "|",
                    withClipboard(smiley + smiley, QClipboard::Clipboard,
                                  keys({Qt::SHIFT | Qt::Key_Insert})),
                    oneShort + smiley + "|");
                row("Ctrl+V keeps line breaks", "|",
                    withClipboard(QStringLiteral("a\r\nb"), QClipboard::Clipboard,
                                  shortcuts({QKeySequence::Paste})),
                    QStringLiteral("a\r\nb").left(limit));
                row("the context menu's Paste is cut to what fits", "|",
                    withClipboard(tooLong, QClipboard::Clipboard, contextMenuPaste()),
                    tooLong.left(limit) + "|");
                row("the middle button pastes where it clicks, cut to what fits", "ab|",
                    middleClick(QStringLiteral("XY"), 0),
                    QStringLiteral("XY").left(limit - 2) + "|ab");
                row("an input method's commit is cut to what fits", oneShort + "|",
                    inputMethodCommit(QStringLiteral("XY")), oneShort + "X|");
                row("an input method's replacement frees what it replaces",
                    full.left(limit - 3) + "teh|", inputMethodCommit(QStringLiteral("the"), -3, 3),
                    full.left(limit - 3) + "the|");
                row("an input method's commit never splits a surrogate pair", full + "|",
                    inputMethodCommit(smiley), full + "|");
                row("undo takes back a paste that was cut, and only that", "|",
                    then(type("a"),
                         withClipboard(tooLong, QClipboard::Clipboard,
                                       shortcuts({QKeySequence::Paste, QKeySequence::Undo}))),
                    "a|");
                row("redo puts back only what was pasted", "|",
                    withClipboard(
                        tooLong, QClipboard::Clipboard,
                        shortcuts({QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})),
                    tooLong.left(limit) + "|");
                row("assistive technology's insertion is cut to what fits", oneShort + "|",
                    assistiveEdit(limit - 1, limit - 1, QStringLiteral("XY")), oneShort + "X|");
                row("assistive technology's replacement frees what it replaces",
                    full.left(limit - 3) + "teh|",
                    assistiveEdit(limit - 3, limit, QStringLiteral("the")),
                    full.left(limit - 3) + "the|");
                if (kind == Kind::SingleLine)
                    continue;

                // A CR LF is one line break; a lone CR or LF is one too.
                const QString pair = QStringLiteral("ab\r\ncdefghij");
                row("a click right of a row stops before its CR LF", pair + "|", click(0, true),
                    "ab|\r\ncdefghij");
                row("typing after that click goes before the CR LF", pair + "|",
                    then(click(0, true), type("x")),
                    limit > pair.size() ? "abx|\r\ncdefghij" : "ab|\r\ncdefghij");
                row("Up stops before a CR LF", pair + "|", keys({Qt::Key_Up}), "ab|\r\ncdefghij");
                row("Shift+Up and Delete take the CR LF whole", pair + "|",
                    keys({Qt::SHIFT | Qt::Key_Up, Qt::Key_Delete}), "ab|");
                row("Down keeps the column", "a|b\r\ncdefghij", keys({Qt::Key_Down}),
                    "ab\r\nc|defghij");
                row("Right steps over a CR LF", "ab|\r\ncd", keys({Qt::Key_Right}), "ab\r\n|cd");
                row("Left steps over a CR LF", "ab\r\n|cd", keys({Qt::Key_Left}), "ab|\r\ncd");
                row("Shift+Right and Delete take the CR LF whole", "ab|\r\ncd",
                    keys({Qt::SHIFT | Qt::Key_Right, Qt::Key_Delete}), "ab|cd");
                row("Shift+Left and Backspace take the CR LF whole", "ab\r\n|cd",
                    keys({Qt::SHIFT | Qt::Key_Left, Qt::Key_Backspace}), "ab|cd");
                row("Ctrl+Right never stops inside a CR LF", "ab|\r\ncd",
                    keys({Qt::CTRL | Qt::Key_Right}), "ab\r\n|cd");
                row("Ctrl+Left never stops inside a CR LF", "ab\r\n|cd",
                    keys({Qt::CTRL | Qt::Key_Left}), "|ab\r\ncd");
                row("Backspace after a CR LF removes both", "ab\r\n|cd", keys({Qt::Key_Backspace}),
                    "ab|cd");
                row("Delete before a CR LF removes both", "ab|\r\ncd", keys({Qt::Key_Delete}),
                    "ab|cd");
                row("Ctrl+Backspace after a CR LF removes both", "ab\r\n|cd",
                    keys({Qt::CTRL | Qt::Key_Backspace}), "|cd");
                row("Ctrl+Delete before a CR LF removes both", "ab|\r\ncd",
                    keys({Qt::CTRL | Qt::Key_Delete}), "ab|cd");
                row("undo brings the CR LF back", "ab\r\n|cd",
                    then(keys({Qt::Key_Backspace}), shortcuts({QKeySequence::Undo})), "ab\r\n|cd");
                row("Home and End keep to the row", "ab\r\nc|d",
                    keys({Qt::Key_Home, Qt::SHIFT | Qt::Key_End}), "ab\r\ncd|");
                row("Ctrl+Home and Ctrl+Shift+End reach the whole text", "ab\r\nc|d",
                    keys({Qt::CTRL | Qt::Key_Home, Qt::CTRL | Qt::SHIFT | Qt::Key_End,
                          Qt::Key_Delete}),
                    "|");
                row("End stops before the CR LF", "|ab\r\ncd", keys({Qt::Key_End}), "ab|\r\ncd");
                row("a lone CR is one break", "a|\rb", keys({Qt::Key_Right, Qt::Key_Down}),
                    "a\rb|");
                row("a click right of a row stops before its lone LF", "ab\ncd|", click(0, true),
                    "ab|\ncd");
                row("Backspace after a lone CR removes it alone", "a\r|b",
                    keys({Qt::Key_Backspace}), "a|b");
                row("Delete before a lone LF removes it alone", "a|\nb", keys({Qt::Key_Delete}),
                    "a|b");
                row("the middle button pastes on the row it clicks", "ab\r\ncd|",
                    middleClick(QStringLiteral("X"), 1), limit > 6 ? "ab\r\nX|cd" : "ab\r\ncd");
            }
        }
    }

    void inputPaths() {
        QFETCH(Kind, kind);
        QFETCH(int, limit);
        QFETCH(QString, before);
        QFETCH(Action, action);
        QFETCH(QString, after);
        if (action.pastesSelection && !QApplication::clipboard()->supportsSelection())
            QSKIP("no selection to paste with the middle button here");
        FieldLineEdit& editor = kind == Kind::SingleLine ? *m_line : *m_wrapping;
        editor.setInputLimit(limit);
        editor.setFocus();
        setMarkedText(editor, before);
        action.run(editor);
        if (QTest::currentTestFailed())
            return;
        if (after.contains(u'|'))
            QCOMPARE(markedText(editor), after);
        else
            QCOMPARE(editor.text(), after);
    }

    void wrapsAtSpacesAndInsideLongWords() {
        m_wrapping->setText(QStringLiteral("abcdefghij klmnopqrst"));
        QCOMPARE(m_wrapping->lines(),
                 (QStringList{QStringLiteral("abcdefghij "), QStringLiteral("klmnopqrst")}));
        const QString word(48, u'w');
        m_wrapping->setText(word);
        // As many characters as the width holds (at least the sixteen the editor is made for),
        // then on inside the word.
        const QStringList lines = m_wrapping->lines();
        QCOMPARE(lines.join(QString()), word);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].size() >= 16 && lines[0].size() == lines[1].size());
        m_wrapping->setText(QStringLiteral("abcdefghijklmnop\r\n").repeated(3));
        QCOMPARE(m_wrapping->lines().size(),
                 4); // three rows and the empty one after the last break
        QCOMPARE(m_wrapping->lines().first(), QStringLiteral("abcdefghijklmnop\r\n"));
        m_wrapping->setText(QStringLiteral("a\rb\nc"));
        QCOMPARE(m_wrapping->lines(), (QStringList{"a\r", "b\n", "c"}));
        QVERIFY(m_wrapping->findChildren<QScrollBar*>().isEmpty());
    }

    // Five rows in an editor that shows three and a half: it scrolls by whole rows to keep the
    // row of its cursor in view, and until the user works in it, it shows its text from the top.
    void scrollsByWholeRowsToKeepTheCursorInView() {
        const QString rows = QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\nfive");
        const auto showing = [&](const QString& text) {
            WrappingLineEdit shown(m_window.get());
            shown.setFont(m_wrapping->font());
            shown.setGeometry(m_wrapping->geometry());
            shown.setText(text);
            shown.show();
            return shown.grab().toImage();
        };
        const QImage firstRows = showing(QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
        const QImage lastRows = showing(QStringLiteral("three\r\nfour\r\nfive"));
        m_wrapping->setText(rows); // the cursor at the end, on row five
        QCOMPARE(m_wrapping->grab().toImage(), firstRows);

        QApplication::setActiveWindow(m_window.get());
        if (!QTest::qWaitForWindowActive(m_window.get(), 1000))
            QSKIP("no window manager here to give the window the focus");
        m_wrapping->setFocus();
        // The text inside the frame, which the focus draws otherwise, with the cursor taken out.
        const QRect middle = m_wrapping->rect().adjusted(3, 3, -3, -3);
        const auto inside = [&](const QImage& shown) {
            QImage image = m_wrapping->grab().toImage();
            const QRect cursor = m_wrapping->cursorRectangle();
            if (!m_wrapping->rect().contains(cursor))
                return QImage(); // the cursor's row is out of view
            QPainter(&image).drawImage(cursor, shown, cursor);
            return image.copy(middle);
        };
        QTest::keyClick(m_wrapping, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(inside(lastRows), lastRows.copy(middle));
        QTest::keyClick(m_wrapping, Qt::Key_Up); // row four is still in view
        QCOMPARE(inside(lastRows), lastRows.copy(middle));
        QTest::keyClick(m_wrapping, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(inside(firstRows), firstRows.copy(middle));
        QTest::keyClick(m_wrapping, Qt::Key_End, Qt::ControlModifier);
        m_line->setFocus(); // the user works elsewhere: the top again
        QCOMPARE(m_wrapping->grab().toImage(), firstRows);
    }

    void endOnAWrappedRowStaysOnThatRow() {
        m_wrapping->setText(QStringLiteral("abcdefghij klmnopqrst"));
        m_wrapping->setFocus();
        m_wrapping->setCursorPosition(0);
        const QRect start = m_wrapping->cursorRectangle();
        QTest::keyClick(m_wrapping, Qt::Key_End);
        QCOMPARE(m_wrapping->cursorPosition(), 11);
        QCOMPARE(m_wrapping->cursorRectangle().top(), start.top());
        QVERIFY(m_wrapping->cursorRectangle().left() > start.left() + 60);
        QTest::keyClick(m_wrapping, Qt::Key_Home); // still the first row's start
        QCOMPARE(m_wrapping->cursorPosition(), 0);
        QTest::keyClick(m_wrapping, Qt::Key_End);
        QTest::keyClicks(m_wrapping, QStringLiteral("!")); // typed on that row, and stays there
        QCOMPARE(m_wrapping->lines().first(), QStringLiteral("abcdefghij !"));
        QCOMPARE(m_wrapping->cursorRectangle().top(), start.top());
        QTest::keyClick(m_wrapping, Qt::Key_Right); // on to the next row
        QVERIFY(m_wrapping->cursorRectangle().top() > start.bottom());
    }

    // Input methods and assistive technology are told where the cursor is on screen.
    void theCursorRectangleIsWhereTheCursorIsDrawn() {
        m_wrapping->setText(QStringLiteral("abc\r\ndef"));
        m_wrapping->setFocus();
        m_wrapping->setCursorPosition(7);                    // "de|f", second row
        QInputMethodQueryEvent query(Qt::ImCursorRectangle); // as an input method asks
        QApplication::sendEvent(m_wrapping, &query);
        const QRect cursor = query.value(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(m_wrapping->font());
        QVERIFY2(cursor.top() >= metrics.height() && cursor.bottom() < 2 * metrics.height() + 4,
                 qPrintable(QStringLiteral("%1,%2").arg(cursor.top()).arg(cursor.bottom())));
        QVERIFY(qAbs(cursor.left() - 3 - metrics.horizontalAdvance(QStringLiteral("de"))) <= 2);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(m_wrapping);
        QVERIFY(accessible && accessible->textInterface());
        QAccessibleTextInterface* text = accessible->textInterface();
        QCOMPARE(text->cursorPosition(), 7);
        const QRect character = text->characterRect(7);
        QCOMPARE(character.topLeft(), m_wrapping->mapToGlobal(cursor.topLeft()));
        QCOMPARE(text->offsetAtPoint(character.center()), 7);

        // The cursor is drawn there, a dark column, once the window has the focus.
        QApplication::setActiveWindow(m_window.get());
        if (!QTest::qWaitForWindowActive(m_window.get(), 1000))
            QSKIP("no window manager here to give the window the focus");
        const QImage image = m_wrapping->grab().toImage();
        QVERIFY(qGray(image.pixel(cursor.center())) < 128);
    }

    // What an input method composes is drawn at the cursor, as if it were already typed.
    void composedTextIsDrawnAtTheCursor() {
        WrappingLineEdit typed(m_window.get());
        typed.setFont(formFont(QStringLiteral("Courier New")));
        typed.setGeometry(0, 90, 121, 51);
        typed.setText(QStringLiteral("abc\r\nde\u00E9f"));
        typed.show();

        m_wrapping->setText(QStringLiteral("abc\r\ndef"));
        m_wrapping->setCursorPosition(7);
        QTextCharFormat plain;
        QInputMethodEvent composing(
            QStringLiteral("\u00E9"),
            {{QInputMethodEvent::TextFormat, 0, 1, plain}, {QInputMethodEvent::Cursor, 0, 0, {}}});
        QApplication::sendEvent(m_wrapping, &composing);
        QCOMPARE(m_wrapping->text(), QStringLiteral("abc\r\ndef")); // not committed yet
        QCOMPARE(m_wrapping->grab().toImage(), typed.grab().toImage());

        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("\u00E9"));
        QApplication::sendEvent(m_wrapping, &commit);
        QCOMPARE(m_wrapping->text(), typed.text());
    }
};

QTEST_MAIN(HeaderEditorTest)
#include "HeaderEditorTest.moc"
