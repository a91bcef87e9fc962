// SPDX-License-Identifier: MIT
#include "SystemFileDialog.h"

#include "TextConversion.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillon {

void configureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request) {
    dialog.setWindowTitle(translatedText(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt reads the patterns from the last parentheses and wants them apart by spaces; with the
    // details hidden the user sees the description exactly as written.
    QString patterns = QString::fromStdString(request.filterPatterns);
    patterns.replace(u';', u' ');
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(
        QStringLiteral("%1 (%2)").arg(translatedText(request.filterDescription), patterns));
    if (!request.startPath.empty()) {
        const QFileInfo last(pathFromCore(request.startPath));
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
}

std::optional<std::string> SystemFileDialog::getOpenFileName(const OpenFileRequest& request) {
    QFileDialog dialog(m_parent);
    configureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return pathForCore(dialog.selectedFiles().constFirst());
}

} // namespace quillon
