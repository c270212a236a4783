#include "controls/dialog.h"

#include "platform/own_module.h"

#include "controls/subclassed_window.h"

namespace controls {

namespace {
// Messages whose answer is the dialog procedure's own return value, not DWLP_MSGRESULT.
bool AnswersThroughReturnValue(UINT message) {
    return message == WM_INITDIALOG ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
           message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           message == WM_QUERYDRAGICON;
}

// The control a parent notification is about, for the ones that go back to the control.
HWND ReflectionTarget(UINT message, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return draw->CtlType == ODT_MENU ? nullptr : draw->hwndItem;
    }
    if (message == WM_NOTIFY) {
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return reinterpret_cast<HWND>(lParam);
    }
    return nullptr;
}
}  // namespace

CDialog::CDialog(UINT templateId, HINSTANCE resources)
    : templateId_(templateId), resources_(platform::ResourceModule(resources)) {}

CDialog::~CDialog() {
    if (hwnd_) {
        // Nothing may reach this half-destroyed object through the window any more.
        ::SetWindowLongPtr(hwnd_, DWLP_USER, 0);
        HWND window = hwnd_;
        hwnd_ = nullptr;
        if (!modal_) {
            ::DestroyWindow(window);
        }
    }
}

INT_PTR CDialog::DoModal(HWND parent) {
    modal_ = true;
    ending_ = false;
    const INT_PTR result = ::DialogBoxParam(resources_, MAKEINTRESOURCE(templateId_), parent,
                                            DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create(HWND parent) {
    modal_ = false;
    ending_ = false;
    return ::CreateDialogParam(resources_, MAKEINTRESOURCE(templateId_), parent, DialogProc,
                               reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!hwnd_) {
        return;
    }
    ending_ = true;
    if (modal_) {
        ::EndDialog(hwnd_, result);
    } else {
        DestroyWindow();
    }
}

void CDialog::DestroyWindow() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

bool CDialog::SetTimer(UINT_PTR id, UINT periodMs) const {
    return hwnd_ && ::SetTimer(hwnd_, id, periodMs, nullptr) != 0;
}

void CDialog::KillTimer(UINT_PTR id) const {
    if (hwnd_) {
        ::KillTimer(hwnd_, id);
    }
}

void CDialog::SetMsgHandled(bool handled) {
    if (current_) {
        current_->handled = handled;
    }
}

void CDialog::SendCommand(UINT id) const {
    ::SendMessage(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                  reinterpret_cast<LPARAM>(Item(id)));
}

LRESULT CDialog::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND target = ReflectionTarget(message, lParam);
    if (!target || !IsOurControl(target)) {
        return 0;
    }
    return ::SendMessage(target, kReflectedBase + message, wParam, lParam);
}

INT_PTR CDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const LRESULT reflected = ReflectToControl(message, wParam, lParam)) {
        if (AnswersThroughReturnValue(message)) {
            return reflected;
        }
        ::SetWindowLongPtr(hwnd_, DWLP_MSGRESULT, reflected);
        return TRUE;
    }
    DialogMessage m{message, wParam, lParam};
    DialogMessage* const outer = current_;
    current_ = &m;
    const bool handled = Dispatch(m);
    current_ = outer;
    if (!handled) {
        // WM_INITDIALOG left to the dialog manager still gives the first control the focus.
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
    if (AnswersThroughReturnValue(message)) {
        return static_cast<INT_PTR>(m.result);
    }
    ::SetWindowLongPtr(hwnd_, DWLP_MSGRESULT, m.result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtr(window, DWLP_USER, lParam);
        self->hwnd_ = window;
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtr(window, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    const INT_PTR result = self->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtr(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace controls
