// SPDX-License-Identifier: MIT
#include "frmMain.h"

#include "FieldLineEdit.h"
#include "HeaderCommands.h"
#include "HeaderKeyFilter.h"
#include "MainWindowDefinition.h"
#include "SystemFileDialog.h"
#include "SystemMessageBox.h"
#include "TextConversion.h"
#include "WindowFonts.h"
#include "WrappingLineEdit.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMap>
#include <QPixmap>
#include <QPushButton>

namespace quillon {

namespace {

QWidget* createControl(const ControlDefinition& definition, QWidget* container) {
    switch (definition.kind) {
    case ControlKind::Frame:
        return new QGroupBox(definition.caption, container);
    case ControlKind::Label: {
        auto* label = new QLabel(definition.caption, container);
        label->setTextFormat(Qt::PlainText); // a path may look like markup
        label->setAlignment((definition.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        if (definition.bordered)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case ControlKind::Button:
        return new QPushButton(definition.caption, container);
    case ControlKind::LineEdit:
    case ControlKind::WrappingEdit: {
        FieldLineEdit* editor = definition.kind == ControlKind::WrappingEdit
                                    ? new WrappingLineEdit(container)
                                    : new FieldLineEdit(container);
        editor->setText(definition.caption);
        editor->setInputLimit(definition.inputLimit);
        editor->setProperty("Tag", definition.tag);
        return editor;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(container);
        picture->setPixmap(QPixmap(definition.caption));
        return picture;
    }
    }
    return nullptr;
}

} // namespace

frmMain::frmMain(FileDialog* dialog, ErrorMessageBox* messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_keyFilter(new HeaderKeyFilter(this)) {
    if (!dialog) {
        m_ownDialog = std::make_unique<SystemFileDialog>(this);
        dialog = m_ownDialog.get();
    }
    if (!messages) {
        m_ownMessages = std::make_unique<SystemMessageBox>(this);
        messages = m_ownMessages.get();
    }
    m_commands = std::make_unique<HeaderCommands>(*this, *dialog, *messages);

    const WindowDefinition& definition = mainWindowDefinition();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(definition.caption);
    setWindowIcon(QIcon(QStringLiteral(":/quillon/quillon.ico")));
    setFixedSize(definition.clientSize);
    setFont(defaultWindowFont());
    // Frames carry their caption on the top line, so the controls inside sit where they belong.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    buildControls();

    m_romFile = control<QLabel>("lblROMFile");
    m_browse = control<QPushButton>("cmdBrowse");
    m_save = control<QPushButton>("cmdSave");
    m_checksum = control<QLineEdit>("txtHeaderChecksum");
    m_calculatedChecksum = control<QLabel>("lblCalcChecksum");
    for (const HeaderField& field : HeaderFieldTable) {
        auto* editor = control<FieldLineEdit>(indexedName("txtHeaderInfo", field.index));
        m_headerEditors[field.index] = editor;
        m_keyFilter->watch(editor, field.index);
    }
    connect(m_browse, &QPushButton::clicked, this, [this] { m_commands->browse(); });
    connect(m_save, &QPushButton::clicked, this, [this] { m_commands->save(); });
    m_browse->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::buildControls() {
    QMap<int, QWidget*> byTabIndex;
    for (const ControlDefinition& definition : mainWindowDefinition().controls) {
        QWidget* container =
            definition.container.isEmpty() ? this : control<QWidget>(definition.container);
        QWidget* widget = createControl(definition, container);
        widget->setObjectName(definition.name);
        widget->setGeometry(definition.geometry);
        // Each control gets its font outright: the frames' style sheet would not pass it on.
        widget->setFont(definition.font == FontRole::Fixed ? fixedPitchFont()
                                                           : defaultWindowFont());
        widget->setEnabled(definition.enabled);
        widget->setProperty("TabIndex", definition.tabIndex);
        if (definition.tabIndex >= 0 && widget->focusPolicy() != Qt::NoFocus)
            byTabIndex.insert(definition.tabIndex, widget);
    }
    // Buddies once every control exists, so a label may name an editor listed after it.
    for (const ControlDefinition& definition : mainWindowDefinition().controls) {
        if (!definition.buddy.isEmpty())
            control<QLabel>(definition.name)->setBuddy(control<QWidget>(definition.buddy));
    }
    const QList<QWidget*> order = byTabIndex.values();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

template <typename Control> Control* frmMain::control(const QString& name) const {
    auto* found = findChild<Control*>(name);
    Q_ASSERT_X(found, "frmMain::control", qPrintable(name));
    return found;
}

std::string frmMain::romPath() const { return pathForCore(m_romFile->text()); }
void frmMain::setRomPath(const std::string& path) {
    const QString shown = pathFromCore(path);
    m_romFile->setText(shown);
    m_romFile->setToolTip(shown); // a long path is cut off by the label's edge
}

std::u32string frmMain::fieldText(std::size_t index) const {
    return toCodePoints(m_headerEditors.at(index)->text());
}

void frmMain::setFieldText(std::size_t index, const std::u32string& text) {
    m_headerEditors.at(index)->setText(fromCodePoints(text));
}

std::string frmMain::checksumText() const { return m_checksum->text().toStdString(); }
void frmMain::setChecksumText(const std::string& text) {
    m_checksum->setText(QString::fromStdString(text));
}
void frmMain::setCalculatedChecksum(const std::string& text) {
    m_calculatedChecksum->setText(QString::fromStdString(text));
}
void frmMain::setSaveEnabled(bool enabled) { m_save->setEnabled(enabled); }

} // namespace quillon
