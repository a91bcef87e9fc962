// SPDX-License-Identifier: MIT
#include "HeaderCommands.h"

#include "HeaderFile.h"
#include "TextConversion.h"

namespace quillon {

HeaderCommands::HeaderCommands(HeaderFormView& view, FileDialog& dialog, MessageBox& messages,
                               QWidget* dialogParent)
    : m_view(view), m_dialog(dialog), m_messages(messages), m_dialogParent(dialogParent) {}

OpenFileRequest HeaderCommands::romRequest() {
    return {
        tr("Select a ROM file"),
        tr("Genesis Binary ROM Files (*.BIN;*.GEN;*.32x)"),
        QStringLiteral("*.BIN;*.GEN;*.32x"),
        {},
    };
}

void HeaderCommands::browse() {
    OpenFileRequest request = romRequest();
    request.startPath = m_lastChosenPath;
    if (const auto path = m_dialog.getOpenFileName(m_dialogParent, request))
        open(*path);
}

void HeaderCommands::open(const QString& path) {
    m_lastChosenPath = path; // the next Browse starts on it

    // Loaded before anything is shown, so a file that cannot be read leaves the window as it
    // was instead of showing blank texts that the next save would write over the real header.
    const LoadResult result = LoadHeader(pathForCore(path));
    if (!result.header) {
        m_messages.critical(m_dialogParent, tr("Cannot Read ROM"),
                            QString::fromLocal8Bit(result.error));
        return;
    }
    const LoadedHeader& header = *result.header;
    // Its header bytes lie elsewhere in the file, so saving the texts would corrupt its data.
    if (header.interleaved) {
        m_messages.critical(m_dialogParent, tr("Cannot Read ROM"),
                            tr("%1: an interleaved copier (SMD) image; convert it to a plain "
                               "binary image first.")
                                .arg(path));
        return;
    }
    m_view.setRomPath(path);
    for (const HeaderField& field : HeaderFieldTable)
        m_view.setFieldText(field.index, textFromBytes(header.texts[field.index]));
    m_view.setChecksumText(
        QString::fromStdString(FormatStoredChecksum(header.storedHigh, header.storedLow)));
    m_view.setCalculatedChecksum(QString::fromStdString(FormatRomChecksum(header.calculated)));
    m_view.setSaveEnabled(true);
}

void HeaderCommands::save() {
    FieldTexts texts;
    for (const HeaderField& field : HeaderFieldTable)
        texts[field.index] = bytesFromText(m_view.fieldText(field.index));

    const SaveResult result =
        SaveHeader(pathForCore(m_view.romPath()), m_view.checksumText().toStdString(), texts);
    switch (result.status) {
    case SaveStatus::InvalidChecksum:
        m_messages.critical(m_dialogParent, QStringLiteral("Invalid Checksum"),
                            QStringLiteral("Invalid checksum entered. Checksum must be in "
                                           "hexadecimal."));
        return;
    case SaveStatus::Failed:
        m_messages.critical(m_dialogParent, QStringLiteral("Cannot Save ROM"),
                            QString::fromLocal8Bit(result.error));
        return;
    case SaveStatus::Saved:
        break;
    }
    // Every editor now shows what its field holds: the spaces written after a short text, and
    // the "?" written for a character the field has no byte for. An editor that already shows
    // it keeps its cursor and undo history.
    for (const HeaderField& field : HeaderFieldTable) {
        const QString written = textFromBytes(result.texts[field.index]);
        if (m_view.fieldText(field.index) != written)
            m_view.setFieldText(field.index, written);
    }
}

} // namespace quillon
