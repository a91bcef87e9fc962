// SPDX-License-Identifier: MIT
// The program's one window, laid out in frmMain.ui, and the view its commands work on.
#pragma once

#include "HeaderFormView.h"
#include "HeaderLayout.h"

#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class frmMain;
}

namespace quillon {

class FieldLineEdit;
class FileDialog;
class HeaderCommands;
class HeaderKeyFilter;
class MessageBox;

class frmMain : public QWidget, public HeaderFormView {
    Q_OBJECT

public:
    // Without a dialog or message box of its own the window uses the system's.
    explicit frmMain(FileDialog* dialog = nullptr, MessageBox* messages = nullptr,
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // Loads a ROM as Browse does once the file is chosen: for a file named at start.
    void openRom(const QString& path);

    QString romPath() const override;
    void setRomPath(const QString& path) override;
    QString fieldText(std::size_t index) const override;
    void setFieldText(std::size_t index, const QString& text) override;
    QString checksumText() const override;
    void setChecksumText(const QString& text) override;
    void setCalculatedChecksum(const QString& text) override;
    void setSaveEnabled(bool enabled) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpHeaderEditors();
    // The file a drag would open here, or nothing when the window refuses it.
    QString romToDrop(const QDropEvent& event) const;

    std::unique_ptr<Ui::frmMain> m_ui;
    std::unique_ptr<FileDialog> m_ownDialog;
    std::unique_ptr<MessageBox> m_ownMessages;
    std::unique_ptr<HeaderCommands> m_commands;
    HeaderKeyFilter* m_keyFilter = nullptr;
    std::array<FieldLineEdit*, HeaderFieldCount> m_headerEditors{};
};

} // namespace quillon
