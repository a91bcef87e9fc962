// SPDX-License-Identifier: MIT
#include "HeaderCommands.h"

namespace quillon {

HeaderCommands::HeaderCommands(HeaderView& view, FileDialog& dialog, ErrorMessageBox& messages)
    : m_view(view), m_dialog(dialog), m_messages(messages) {}

const OpenFileRequest& HeaderCommands::romRequest() {
    static const OpenFileRequest request{
        "Select a ROM file",
        "Genesis Binary ROM Files (*.BIN;*.GEN;*.32x)",
        "*.BIN;*.GEN;*.32x",
        {},
    };
    return request;
}

void HeaderCommands::browse() {
    OpenFileRequest request = romRequest();
    request.startPath = m_lastChosenPath;
    if (const auto path = m_dialog.getOpenFileName(request))
        open(*path);
}

void HeaderCommands::open(const std::string& path) {
    m_lastChosenPath = path; // the next Browse starts on it

    // Loaded before anything is shown, so a file that cannot be read leaves the window as it
    // was instead of showing blank texts that the next save would write over the real header.
    // An archive or a picture has no header to show, nor has a byte-swapped image as it lies:
    // the load refuses them, a sentence said as a message box says one.
    const Result<LoadedHeader> result = LoadHeaderToEdit(path);
    if (!result) {
        const Problem& problem = result.problem();
        m_messages.critical("Cannot Read ROM",
                            problem.text() + (problem.outcome == Outcome::Refused ? "." : ""));
        return;
    }
    const LoadedHeader& header = *result;
    m_loaded = ExpectedHeader{header.bytes, header.fileSize};
    m_view.setRomPath(path);
    for (const HeaderField& field : HeaderFieldTable)
        m_view.setFieldText(field.index, decodeText(header.texts[field.index]));
    m_view.setChecksumText(FormatStoredChecksum(header.storedHigh, header.storedLow));
    // A disc has no ROM checksum; the caption says so in as many places as a value takes.
    const auto calculated = CalculatedChecksum(header);
    m_view.setCalculatedChecksum(calculated ? FormatRomChecksum(*calculated) : "----");
    m_view.setSaveEnabled(true);
}

void HeaderCommands::save() {
    FieldTexts texts;
    for (const HeaderField& field : HeaderFieldTable)
        texts[field.index] = encodeText(m_view.fieldText(field.index));

    const std::string path = m_view.romPath();
    const SaveResult result = SaveHeader(path, m_view.checksumText(), texts, m_loaded);
    switch (result.status) {
    case SaveStatus::InvalidChecksum:
        m_messages.critical("Invalid Checksum",
                            "Invalid checksum entered. Checksum must be in hexadecimal.");
        return;
    case SaveStatus::Failed:
        m_messages.critical("Cannot Save ROM", result.error);
        return;
    case SaveStatus::Changed:
        m_messages.critical("File Changed",
                            path + " changed on disk since it was loaded; nothing was written. "
                                   "Open it again to see its header as it is now.");
        return;
    case SaveStatus::Saved:
        break;
    }
    m_loaded = result.expected;
    // Every editor now shows what its field holds: the spaces written after a short text, and
    // the "?" written for a character the field has no byte for. An editor that already shows
    // it keeps its cursor and undo history.
    for (const HeaderField& field : HeaderFieldTable) {
        const std::u32string written = decodeText(result.texts[field.index]);
        if (m_view.fieldText(field.index) != written)
            m_view.setFieldText(field.index, written);
    }
}

} // namespace quillon
