#pragma once
// Drives a dialog from a test: run it modally with a script, click its buttons, read its
// controls, answer its message boxes (through platform::ShowMessageBox).

#include "controls/dialog.h"
#include "platform/message_box.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Runs dialog modally; once it is up, script runs inside its message loop. A dialog the
// script leaves open is ended with IDABORT. Returns DoModal's result.
INT_PTR RunModal(controls::CDialog& dialog, const std::function<void(controls::CDialog&)>& script,
                 HWND parent = nullptr);

// Handles every message waiting for this thread (timers, paints, posted messages).
void PumpMessages();
// Pumps until done() holds or the loop has idled for at most about waitMs; returns done().
bool PumpUntil(const std::function<bool()>& done, unsigned waitMs = 5000);

std::string ControlText(const controls::CDialog& dialog, UINT id);
bool IsControlVisible(const controls::CDialog& dialog, UINT id);
// The control's rectangle in the dialog's client coordinates.
RECT ControlRect(const controls::CDialog& dialog, UINT id);

// Answers message boxes in turn with the given buttons (IDOK once they run out) and keeps
// what each one showed.
class MessageBoxAnswers {
public:
    explicit MessageBoxAnswers(std::vector<int> answers = {});
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;
    const std::vector<platform::MessageBoxRequest>& shown() const { return shown_; }

private:
    std::vector<int> answers_;
    std::vector<platform::MessageBoxRequest> shown_;
    platform::MessageBoxHandler previous_;
};

}  // namespace testing_support
