// SPDX-License-Identifier: MIT
#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillon {

void configureOpenDialog(QFileDialog& dialog, const OpenFileRequest& request) {
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt reads the patterns from the last parentheses and wants them apart by spaces; with the
    // details hidden the user sees the description exactly as written.
    QString patterns = request.filterPatterns;
    patterns.replace(u';', u' ');
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(request.filterDescription, patterns));
    if (!request.startPath.isEmpty()) {
        const QFileInfo last(request.startPath);
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
}

std::optional<QString> SystemFileDialog::getOpenFileName(QWidget* parent,
                                                         const OpenFileRequest& request) {
    QFileDialog dialog(parent);
    configureOpenDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace quillon
