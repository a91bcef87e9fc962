// SPDX-License-Identifier: MIT
// Stand-ins for the file dialog and the message box, so no test waits on a person.
#pragma once

#include "ErrorMessageBox.h"
#include "FileDialog.h"

#include <deque>
#include <vector>

namespace quillon::test {

class FakeFileDialog : public FileDialog {
public:
    // Each Browse takes the next answer; nothing means the user cancelled.
    std::deque<std::optional<std::string>> answers;
    std::vector<OpenFileRequest> requests;

    std::optional<std::string> getOpenFileName(const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeMessageBox : public ErrorMessageBox {
public:
    struct Shown {
        std::string title;
        std::string text;
    };
    std::vector<Shown> shown;

    void critical(const std::string& title, const std::string& text) override {
        shown.push_back({title, text});
    }
};

} // namespace quillon::test
