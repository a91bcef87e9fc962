// SPDX-License-Identifier: MIT
#include "frmMain.h"

#include "HeaderCommands.h"
#include "HeaderKeyFilter.h"
#include "QuillonVersion.h"
#include "SystemFileDialog.h"
#include "SystemMessageBox.h"
#include "TextConversion.h"
#include "WindowFonts.h"
#include "WrappingLineEdit.h"
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
    // Fonts in pixels, because the form's geometry is in pixels; a form knows only points. Each
    // control gets its font outright, as the frames' style sheet would not pass it on.
    setFont(defaultWindowFont());
    for (QWidget* control : findChildren<QWidget*>())
        control->setFont(defaultWindowFont());
    m_ui->txtHeaderChecksum->setFont(fixedPitchFont());
    m_ui->lblCalcChecksum->setFont(fixedPitchFont());
    setUpHeaderEditors();

    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, [this] { m_commands->browse(); });
    connect(m_ui->cmdSave, &QPushButton::clicked, this, [this] { m_commands->save(); });
    m_ui->cmdBrowse->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::setUpHeaderEditors() {
    m_headerEditors = {m_ui->txtHeaderInfo_0, m_ui->txtHeaderInfo_1, m_ui->txtHeaderInfo_2,
                       m_ui->txtHeaderInfo_3, m_ui->txtHeaderInfo_4, m_ui->txtHeaderInfo_5};
    for (const HeaderField& field : HeaderFieldTable) {
        FieldLineEdit* editor = m_headerEditors[field.index];
        editor->setFont(fixedPitchFont());
        editor->setInputLimit(static_cast<int>(field.length));
        m_keyFilter->watch(editor, field.index);
        // uic drops carriage returns from a form's strings; the initial lines end in CR LF.
        if (qobject_cast<WrappingLineEdit*>(editor))
            editor->setText(editor->text().replace(u'\n', QStringLiteral("\r\n")));
    }
}

void frmMain::openRom(const QString& path) { m_commands->open(pathForCore(path)); }

QString frmMain::romToDrop(const QDropEvent& event) const {
    // The editors keep drops off: a file let go over one of them is not meant for the window.
    if (qobject_cast<const QLineEdit*>(childAt(event.position().toPoint())))
        return {};
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void frmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (romToDrop(*event).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString path = romToDrop(*event);
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openRom(path);
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
