// SPDX-License-Identifier: MIT
// The header editors: exact texts, the limit on typing and pasting, and wrapping.
#include "CharacterSet.h"
#include "FieldLineEdit.h"
#include "TextConversion.h"
#include "WindowFonts.h"
#include "WrappingLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

using namespace quillon;

namespace {

// Every character the header's bytes 1-255 can stand for.
QString everyHeaderCharacter() {
    ByteText bytes;
    for (int byte = 1; byte <= 255; ++byte)
        bytes.push_back(static_cast<char>(byte));
    return textFromBytes(bytes);
}

} // namespace

class HeaderEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    FieldLineEdit* m_line = nullptr;
    WrappingLineEdit* m_wrapping = nullptr;

private slots:
    void init() {
        m_window = std::make_unique<QWidget>();
        m_line = new FieldLineEdit(m_window.get());
        m_line->setInputLimit(3);
        m_line->setGeometry(0, 0, 121, 19);
        m_wrapping = new WrappingLineEdit(m_window.get());
        m_wrapping->setInputLimit(48);
        m_wrapping->setFont(fixedPitchFont());
        m_wrapping->setGeometry(0, 30, 121, 51);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void textsSetByTheProgramStayExact() {
        const QString all = everyHeaderCharacter();
        QCOMPARE(all.size(), 255);
        for (FieldLineEdit* editor : {m_line, static_cast<FieldLineEdit*>(m_wrapping)}) {
            editor->setText(all); // longer than any limit: set texts are never cut
            QCOMPARE(editor->text(), all);
            QCOMPARE(bytesFromText(editor->text()).size(), 255u);
            for (const QString& tricky :
                 {QStringLiteral("a\rb"), QStringLiteral("a\r\nb"), QStringLiteral("a\nb"),
                  QStringLiteral("a\u00A0b"), QStringLiteral("a\u2028b\u2029c")}) {
                editor->setText(tricky);
                QCOMPARE(editor->text(), tricky);
            }
        }
    }

    void typingStopsAtTheLimit() {
        m_line->setFocus();
        QTest::keyClicks(m_line, QStringLiteral("ABCD"));
        QCOMPARE(m_line->text(), QStringLiteral("ABC"));
        // Typing over a selection replaces it within the limit.
        m_line->selectAll();
        QTest::keyClicks(m_line, QStringLiteral("xy"));
        QCOMPARE(m_line->text(), QStringLiteral("xy"));

        FieldLineEdit serial;
        serial.setInputLimit(14);
        QTest::keyClicks(&serial, QStringLiteral("GM 12345678-001"));
        QCOMPARE(serial.text(), QStringLiteral("GM 12345678-00"));
    }

    void aTextLongerThanTheLimitTakesNoTypingUntilShortened() {
        const QString initial = QStringLiteral("abcdefghijklmnop\r\n").repeated(3);
        m_wrapping->setText(initial);
        m_wrapping->setFocus();
        m_wrapping->end(false);
        QTest::keyClicks(m_wrapping, QStringLiteral("x"));
        QCOMPARE(m_wrapping->text(), initial);
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(m_wrapping, Qt::Key_Backspace);
        QCOMPARE(m_wrapping->text().size(), 47);
        QTest::keyClicks(m_wrapping, QStringLiteral("xyz"));
        QCOMPARE(m_wrapping->text().size(), 48);
        QVERIFY(m_wrapping->text().endsWith(u'x'));
    }

    void pastingIsCutToWhatFitsAndKeepsLineBreaks() {
        QApplication::clipboard()->setText(QStringLiteral("line1\r\nline2"));
        m_wrapping->clear();
        m_wrapping->setFocus();
        QTest::keySequence(m_wrapping, QKeySequence::Paste);
        QCOMPARE(m_wrapping->text(), QStringLiteral("line1\r\nline2"));

        QApplication::clipboard()->setText(QStringLiteral("JUEXYZ"));
        m_line->clear();
        m_line->setFocus();
        QTest::keySequence(m_line, QKeySequence::Paste);
        QCOMPARE(m_line->text(), QStringLiteral("JUE"));
        QTest::keySequence(m_line, QKeySequence::Paste); // full: nothing more goes in
        QCOMPARE(m_line->text(), QStringLiteral("JUE"));
        m_line->pasteWithinLimit();
        QCOMPARE(m_line->text(), QStringLiteral("JUE"));
    }

    void anUnlimitedEditorTakesAnything() {
        FieldLineEdit checksum;
        const QString typed = QStringLiteral("0123456789abcdefXYZ !?").repeated(5);
        QTest::keyClicks(&checksum, typed);
        QCOMPARE(checksum.text(), typed);
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

    void arrowsMoveByLine() {
        m_wrapping->setText(QStringLiteral("abcdefghijklmnop\r\nqrstuvwxyz"));
        m_wrapping->setFocus();
        m_wrapping->setCursorPosition(3);
        QTest::keyClick(m_wrapping, Qt::Key_Down);
        QCOMPARE(m_wrapping->cursorPosition(), 21); // "qrs|"
        QTest::keyClick(m_wrapping, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(m_wrapping->selectedText(), QStringLiteral("defghijklmnop\r\nqrs"));
        m_wrapping->setCursorPosition(5);
        QTest::keyClick(m_wrapping, Qt::Key_End);
        QCOMPARE(m_wrapping->cursorPosition(), 16); // before the line break
        QTest::keyClick(m_wrapping, Qt::Key_Home);
        QCOMPARE(m_wrapping->cursorPosition(), 0);
        QTest::keyClicks(m_wrapping, QStringLiteral("!"));
        QCOMPARE(m_wrapping->text(), QStringLiteral("!abcdefghijklmnop\r\nqrstuvwxyz"));
    }

    void clickPlacesTheCursorOnTheLineUnderThePointer() {
        m_wrapping->setText(QStringLiteral("abcdefghijklmnop\r\nqrstuvwxyz"));
        const QPoint secondLine(4 + 3, 2 + 13 + 6); // third character of the second row
        QTest::mouseClick(m_wrapping, Qt::LeftButton, {}, secondLine);
        QVERIFY2(m_wrapping->cursorPosition() >= 19 && m_wrapping->cursorPosition() <= 21,
                 qPrintable(QString::number(m_wrapping->cursorPosition())));
        QTest::mouseDClick(m_wrapping, Qt::LeftButton, {}, secondLine);
        QCOMPARE(m_wrapping->selectedText(), QStringLiteral("qrstuvwxyz"));
    }
};

QTEST_MAIN(HeaderEditorTest)
#include "HeaderEditorTest.moc"
