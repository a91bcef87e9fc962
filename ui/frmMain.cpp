// SPDX-License-Identifier: MIT
#include "frmMain.h"

#include "DropRule.h"
#include "EditorRules.h"
#include "FieldLineEdit.h"
#include "HeaderCommands.h"
#include "HeaderKeyFilter.h"
#include "QuillonVersion.h"
#include "SystemFileDialog.h"
#include "SystemMessageBox.h"
#include "TextConversion.h"
#include "WindowFonts.h"
#include "ui_frmMain.h"

#include <QDropEvent>
#include <QMimeData>

namespace quillon {

frmMain::frmMain(FileDialog* dialog, ErrorMessageBox* messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::frmMain>()), m_keyFilter(new HeaderKeyFilter(this)) {
    if (!dialog) {
        m_ownDialog = std::make_unique<SystemFileDialog>(this);
        dialog = m_ownDialog.get();
    }
    if (!messages) {
        m_ownMessages = std::make_unique<SystemMessageBox>(this);
        messages = m_ownMessages.get();
    }
    m_commands = std::make_unique<HeaderCommands>(*this, *dialog, *messages);

    m_ui->setupUi(this);
    // The form holds the caption with a place for the version, which only the build knows.
    m_ui->lblCopyright_0->setText(m_ui->lblCopyright_0->text().arg(
        QString::fromUtf8(VersionText.data(), static_cast<qsizetype>(VersionText.size()))));
    // The form names each control's font family; the fonts are made here, in pixels, as the form
    // gives sizes in points only. Each control gets its font outright, as the frames' style sheet
    // would not pass it on.
    QList<QWidget*> controls = findChildren<QWidget*>();
    controls.prepend(this);
    QList<QFont> fonts;
    for (const QWidget* control : controls)
        fonts.append(formFont(control->font().family()));
    for (qsizetype i = 0; i < controls.size(); ++i)
        controls[i]->setFont(fonts[i]);
    setUpHeaderEditors();

    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, [this] { m_commands->browse(); });
    connect(m_ui->cmdSave, &QPushButton::clicked, this, [this] { m_commands->save(); });
    m_ui->cmdBrowse->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::setUpHeaderEditors() {
    for (const HeaderField& field : HeaderFieldTable) {
        auto* editor =
            findChild<FieldLineEdit*>(QStringLiteral("txtHeaderInfo_%1").arg(field.index));
        m_headerEditors[field.index] = editor;
        editor->setInputLimit(static_cast<int>(field.length));
        m_keyFilter->watch(editor, field.index);
        editor->setText(fromCodePoints(editorTextFromForm(toCodePoints(editor->text()))));
    }
}

void frmMain::openRom(const QString& path) { m_commands->open(pathForCore(path)); }

std::optional<std::string> frmMain::romToDrop(const QDropEvent& event) const {
    DroppedItems dropped;
    for (const QUrl& url : event.mimeData()->urls()) {
        dropped.push_back(url.isLocalFile() ? std::optional(pathForCore(url.toLocalFile()))
                                            : std::nullopt);
    }
    const bool overEditor = qobject_cast<const QLineEdit*>(childAt(event.position().toPoint()));
    return romToOpen(dropped, overEditor);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (romToDrop(*event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmMain::dropEvent(QDropEvent* event) {
    const auto path = romToDrop(*event);
    if (!path) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_commands->open(*path);
}

std::string frmMain::romPath() const { return pathForCore(m_ui->lblROMFile->text()); }
void frmMain::setRomPath(const std::string& path) {
    const QString shown = pathFromCore(path);
    m_ui->lblROMFile->setText(shown);
    m_ui->lblROMFile->setToolTip(shown); // a long path is cut off by the label's edge
}

std::u32string frmMain::fieldText(std::size_t index) const {
    return toCodePoints(m_headerEditors.at(index)->text());
}

void frmMain::setFieldText(std::size_t index, const std::u32string& text) {
    m_headerEditors.at(index)->setText(fromCodePoints(text));
}

std::string frmMain::checksumText() const { return m_ui->txtHeaderChecksum->text().toStdString(); }
void frmMain::setChecksumText(const std::string& text) {
    m_ui->txtHeaderChecksum->setText(QString::fromStdString(text));
}
void frmMain::setCalculatedChecksum(const std::string& text) {
    m_ui->lblCalcChecksum->setText(QString::fromStdString(text));
}
void frmMain::setSaveEnabled(bool enabled) { m_ui->cmdSave->setEnabled(enabled); }

} // namespace quillon
