#include "tests/support/dialog_driver.h"

#include <vector>

namespace testing_support {

namespace {
struct PendingScript {
    controls::CDialog* dialog;
    const std::function<void(controls::CDialog&)>* script;
    UINT_PTR timer;
};
thread_local std::vector<PendingScript> pending;

void CALLBACK StartScript(HWND, UINT, UINT_PTR timer, DWORD) {
    for (size_t i = 0; i < pending.size(); ++i) {
        PendingScript p = pending[i];
        if (p.timer != timer || !p.dialog->hwnd()) {
            continue;
        }
        ::KillTimer(nullptr, timer);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
        (*p.script)(*p.dialog);
        if (p.dialog->IsOpen()) {
            p.dialog->EndDialog(IDABORT);
        }
        return;
    }
}
}  // namespace

INT_PTR RunModal(controls::CDialog& dialog, const std::function<void(controls::CDialog&)>& script,
                 HWND parent) {
    // A thread timer: the modal loop of the dialog dispatches it once the dialog is up.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, StartScript);
    pending.push_back({&dialog, &script, timer});
    const INT_PTR result = dialog.DoModal(parent);
    for (size_t i = 0; i < pending.size(); ++i) {
        if (pending[i].timer == timer) {
            ::KillTimer(nullptr, timer);
            pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    return result;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned waitMs) {
    const ULONGLONG until = ::GetTickCount64() + waitMs;
    while (!done() && ::GetTickCount64() < until) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    return done();
}

std::string ControlText(const controls::CDialog& dialog, UINT id) {
    char text[1024] = {};
    ::GetDlgItemTextA(dialog.hwnd(), static_cast<int>(id), text, sizeof text);
    return text;
}

bool IsControlVisible(const controls::CDialog& dialog, UINT id) {
    return ::IsWindowVisible(dialog.Item(id)) != FALSE;
}

RECT ControlRect(const controls::CDialog& dialog, UINT id) {
    RECT r{};
    ::GetWindowRect(dialog.Item(id), &r);
    ::MapWindowPoints(HWND_DESKTOP, dialog.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

MessageBoxAnswers::MessageBoxAnswers(std::vector<int> answers) : answers_(std::move(answers)) {
    previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
        shown_.push_back(request);
        const size_t n = shown_.size() - 1;
        return n < answers_.size() ? answers_[n] : IDOK;
    });
}

MessageBoxAnswers::~MessageBoxAnswers() { platform::SetMessageBoxHandler(previous_); }

}  // namespace testing_support
