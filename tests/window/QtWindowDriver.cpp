// SPDX-License-Identifier: MIT
// The contract's driver for the Qt window, on Qt's offscreen platform: events sent as Qt's own
// test library sends them, texts read from the widgets.
#include "WindowDriver.h"
#include "frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace quillon::test {

namespace {

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class QtWindowDriver final : public WindowDriver {
public:
    QtWindowDriver() : m_window(std::make_unique<frmMain>(&dialog, &messages)) {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        if (!QTest::qWaitForWindowActive(m_window.get()))
            ADD_FAILURE() << "the window never became active";
    }

    std::string title() const override { return m_window->windowTitle().toStdString(); }
    Box clientArea() const override { return {0, 0, m_window->width(), m_window->height()}; }
    bool onlyCloses() const override {
        const Qt::WindowFlags flags = m_window->windowFlags();
        return m_window->minimumSize() == m_window->maximumSize() &&
               flags.testFlag(Qt::WindowCloseButtonHint) &&
               !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
               !flags.testFlag(Qt::WindowMaximizeButtonHint);
    }
    bool isOpen() const override { return m_window->isVisible(); }

    Box place(std::string_view name) const override {
        const QWidget* control = find(name);
        const QPoint corner = control->mapTo(m_window.get(), QPoint(0, 0));
        return {corner.x(), corner.y(), control->width(), control->height()};
    }
    std::string text(std::string_view name) const override {
        QWidget* control = find(name);
        QString text;
        if (const auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (const auto* button = qobject_cast<QPushButton*>(control))
            text = button->text();
        else if (const auto* editor = qobject_cast<QLineEdit*>(control))
            text = editor->text();
        else if (const auto* frame = qobject_cast<QGroupBox*>(control))
            text = frame->title();
        return text.toStdString();
    }
    bool captionFits(std::string_view name) const override {
        const auto* label = qobject_cast<QLabel*>(find(name));
        return label && label->fontMetrics().horizontalAdvance(label->text()) <=
                            label->contentsRect().width();
    }
    bool isEnabled(std::string_view name) const override { return find(name)->isEnabled(); }
    std::string focused() const override {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }

    void type(std::string_view name, std::string_view text) override {
        QLineEdit* editor = focusAtEnd(name);
        // One key for each character, a surrogate pair in one key, as a keyboard sends them.
        for (const char32_t character : qtText(text).toUcs4()) {
            const QString typed = QString::fromUcs4(&character, 1);
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
            QApplication::sendEvent(editor, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, typed);
            QApplication::sendEvent(editor, &release);
        }
    }
    void paste(std::string_view name, std::string_view text) override {
        QLineEdit* editor = focusAtEnd(name);
        QApplication::clipboard()->setText(qtText(text));
        QTest::keySequence(editor, QKeySequence::Paste);
    }
    void clear(std::string_view name) override {
        QLineEdit* editor = focusAtEnd(name);
        QTest::keySequence(editor, QKeySequence::SelectAll);
        QTest::keyClick(editor, Qt::Key_Delete);
    }
    void press(std::string_view name, Key key) override {
        struct Press {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        };
        constexpr Press presses[] = {
            {Qt::Key_Return, Qt::NoModifier},    {Qt::Key_Enter, Qt::KeypadModifier},
            {Qt::Key_Return, Qt::ShiftModifier}, {Qt::Key_Return, Qt::ControlModifier},
            {Qt::Key_M, Qt::ControlModifier},    {Qt::Key_Escape, Qt::NoModifier},
            {Qt::Key_Tab, Qt::NoModifier},       {Qt::Key_Backtab, Qt::ShiftModifier},
        };
        const Press& pressed = presses[static_cast<int>(key)];
        QWidget* control = find(name);
        control->setFocus();
        QTest::keyClick(control, pressed.key, pressed.modifiers);
    }
    void click(std::string_view name) override { QTest::mouseClick(find(name), Qt::LeftButton); }
    void drop(const std::vector<std::string>& files, std::string_view onto) override {
        QList<QUrl> urls;
        for (const std::string& file : files)
            urls.append(QUrl::fromLocalFile(QString::fromStdString(file)));
        QMimeData data;
        data.setUrls(urls);
        const QWidget* target = find(onto);
        const QPoint at = target->mapTo(m_window.get(), target->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &dropped);
        // What the pointer shows while dragging is what the drop then does.
        EXPECT_EQ(enter.isAccepted(), dropped.isAccepted());
    }

private:
    QWidget* find(std::string_view name) const {
        auto* control = m_window->findChild<QWidget*>(qtText(name));
        if (!control)
            qFatal("the window has no control %s", std::string(name).c_str());
        return control;
    }
    QLineEdit* focusAtEnd(std::string_view name) const {
        auto* editor = qobject_cast<QLineEdit*>(find(name));
        if (!editor)
            qFatal("%s is no editor", std::string(name).c_str());
        editor->setFocus();
        editor->end(false);
        return editor;
    }

    std::unique_ptr<frmMain> m_window;
};

} // namespace

std::unique_ptr<WindowDriver> openWindow() { return std::make_unique<QtWindowDriver>(); }

} // namespace quillon::test

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    const QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
