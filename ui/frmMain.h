// SPDX-License-Identifier: MIT
// The program's one window, built from its definition, and the view its commands work on.
#pragma once

#include "HeaderLayout.h"
#include "HeaderView.h"

#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

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

    std::string romPath() const override;
    void setRomPath(const std::string& path) override;
    std::u32string fieldText(std::size_t index) const override;
    void setFieldText(std::size_t index, const std::u32string& text) override;
    std::string checksumText() const override;
    void setChecksumText(const std::string& text) override;
    void setCalculatedChecksum(const std::string& text) override;
    void setSaveEnabled(bool enabled) override;

private:
    void buildControls();
    template <typename Control> Control* control(const QString& name) const;

    std::unique_ptr<FileDialog> m_ownDialog;
    std::unique_ptr<ErrorMessageBox> m_ownMessages;
    std::unique_ptr<HeaderCommands> m_commands;
    HeaderKeyFilter* m_keyFilter = nullptr;

    QLabel* m_romFile = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_save = nullptr;
    QLineEdit* m_checksum = nullptr;
    QLabel* m_calculatedChecksum = nullptr;
    std::array<FieldLineEdit*, HeaderFieldCount> m_headerEditors{};
};

} // namespace quillon
