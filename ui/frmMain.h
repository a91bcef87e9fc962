// SPDX-License-Identifier: MIT
// The program's one window, laid out in frmMain.ui, and the view its commands work on.
#pragma once

#include "HeaderLayout.h"
#include "HeaderView.h"

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class frmMain;
}

namespace quillon {

class FieldLineEdit;
class FileDialog;
class HeaderCommands;
class HeaderKeyFilter;
class ErrorMessageBox;

class frmMain : public QWidget, public HeaderView {
    Q_OBJECT

public:
    // Without a dialog or message box of its own the window uses the system's.
    explicit frmMain(FileDialog* dialog = nullptr, ErrorMessageBox* messages = nullptr,
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // Loads a ROM as Browse does once the file is chosen: for a file named at start.
    void openRom(const QString& path);

    std::string romPath() const override;
    void setRomPath(const std::string& path) override;
    std::u32string fieldText(std::size_t index) const override;
    void setFieldText(std::size_t index, const std::u32string& text) override;
    std::string checksumText() const override;
    void setChecksumText(const std::string& text) override;
    void setCalculatedChecksum(const std::string& text) override;
    void setSaveEnabled(bool enabled) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setUpHeaderEditors();
    // The file a drag would open here, by the shared drop rule, or nothing.
    std::optional<std::string> romToDrop(const QDropEvent& event) const;

    std::unique_ptr<Ui::frmMain> m_ui;
    std::unique_ptr<FileDialog> m_ownDialog;
    std::unique_ptr<ErrorMessageBox> m_ownMessages;
    std::unique_ptr<HeaderCommands> m_commands;
    HeaderKeyFilter* m_keyFilter = nullptr;
    std::array<FieldLineEdit*, HeaderFieldCount> m_headerEditors{};
};

} // namespace quillon
