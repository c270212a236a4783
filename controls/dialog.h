#pragma once
// The dialog base of every window: a class built from a numbered dialog template, modal or as a
// modeless child page, whose messages, commands, notifications and timers go through a table:
//
//   const controls::MessageTable<CMyDlg>& CMyDlg::Messages() {
//       static const controls::MessageTable<CMyDlg> table = {
//           controls::OnMessage(WM_INITDIALOG, &CMyDlg::OnInitDialog),
//           controls::OnCommand(IDOK, &CMyDlg::OnSave),
//           controls::OnNotify(1016, LVN_ITEMCHANGED, &CMyDlg::OnRowChanged),
//           controls::OnTimer(100, &CMyDlg::OnStartTimer),
//       };
//       return table;
//   }
//
// with class CMyDlg : public controls::DialogImpl<CMyDlg, controls::CBaseDlg>. The derived
// table is asked first, then the base classes' tables, then the dialog manager's default.
//
// A handler that wants the message to go on (a page that watches WM_SIZE while CBaseDlg still
// anchors its controls) calls SetMsgHandled(false) before it returns: the dispatch then goes
// on to the next entry of its table, the base classes' tables and finally the dialog manager,
// as if the handler had not been there. Its return value is then ignored.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace controls {

// One message as the dialog procedure received it. A handler that takes it sets result to the
// value the message answers (DWLP_MSGRESULT, or the procedure's own return value for the few
// messages that answer that way, such as WM_INITDIALOG and WM_CTLCOLOR*).
struct DialogMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    // Cleared by SetMsgHandled(false) while the handler runs: the dispatch goes on.
    bool handled = true;
};

template <typename T>
class MessageTable {
public:
    // Returns true when it took the message; false lets the next table try.
    using Entry = std::function<bool(T&, DialogMessage&)>;
    MessageTable(std::initializer_list<Entry> entries) : entries_(entries) {}
    bool Dispatch(T& dialog, DialogMessage& m) const {
        for (const auto& entry : entries_) {
            if (entry(dialog, m)) {
                return true;
            }
        }
        return false;
    }

private:
    std::vector<Entry> entries_;
};

// LRESULT OnX(WPARAM wParam, LPARAM lParam): any window message; the return value answers it.
template <typename T>
typename MessageTable<T>::Entry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return [=](T& self, DialogMessage& m) {
        if (m.message != message) {
            return false;
        }
        m.handled = true;
        m.result = (self.*handler)(m.wParam, m.lParam);
        return m.handled;
    };
}

// void OnX(): WM_COMMAND from control (or menu item, accelerator) id, any notification code.
template <typename T>
typename MessageTable<T>::Entry OnCommand(UINT id, void (T::*handler)()) {
    return [=](T& self, DialogMessage& m) {
        if (m.message != WM_COMMAND || LOWORD(m.wParam) != id) {
            return false;
        }
        m.handled = true;
        (self.*handler)();
        return m.handled;
    };
}

// void OnX(UINT id): WM_COMMAND from any id first..last.
template <typename T>
typename MessageTable<T>::Entry OnCommandRange(UINT first, UINT last, void (T::*handler)(UINT)) {
    return [=](T& self, DialogMessage& m) {
        const UINT id = LOWORD(m.wParam);
        if (m.message != WM_COMMAND || id < first || id > last) {
            return false;
        }
        m.handled = true;
        (self.*handler)(id);
        return m.handled;
    };
}

// void OnX(): WM_COMMAND with notification code (BN_CLICKED, CBN_SELCHANGE, ...) from id.
template <typename T>
typename MessageTable<T>::Entry OnCommandCode(UINT id, UINT code, void (T::*handler)()) {
    return [=](T& self, DialogMessage& m) {
        if (m.message != WM_COMMAND || LOWORD(m.wParam) != id || HIWORD(m.wParam) != code) {
            return false;
        }
        m.handled = true;
        (self.*handler)();
        return m.handled;
    };
}

// LRESULT OnX(NMHDR* header): WM_NOTIFY with code from control id; the return value answers it.
template <typename T>
typename MessageTable<T>::Entry OnNotify(UINT id, UINT code, LRESULT (T::*handler)(NMHDR*)) {
    return [=](T& self, DialogMessage& m) {
        if (m.message != WM_NOTIFY) {
            return false;
        }
        auto* header = reinterpret_cast<NMHDR*>(m.lParam);
        if (header->idFrom != id || header->code != code) {
            return false;
        }
        m.handled = true;
        m.result = (self.*handler)(header);
        return m.handled;
    };
}

// void OnX(): WM_TIMER of timer id.
template <typename T>
typename MessageTable<T>::Entry OnTimer(UINT_PTR id, void (T::*handler)()) {
    return [=](T& self, DialogMessage& m) {
        if (m.message != WM_TIMER || m.wParam != id) {
            return false;
        }
        m.handled = true;
        (self.*handler)();
        return m.handled;
    };
}

class CDialog {
public:
    explicit CDialog(UINT templateId, HINSTANCE resources = nullptr);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Runs the dialog modally; returns what EndDialog was given, or -1 when it can't be made.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modeless (a child page when the template has the child style).
    bool Create(HWND parent);
    // Ends a modal dialog, destroys a modeless one.
    void EndDialog(INT_PTR result);
    void DestroyWindow();

    HWND hwnd() const { return hwnd_; }
    HWND Item(UINT id) const { return ::GetDlgItem(hwnd_, static_cast<int>(id)); }
    UINT templateId() const { return templateId_; }
    bool IsModal() const { return modal_; }
    // Up and not yet told to end.
    bool IsOpen() const { return hwnd_ && !ending_; }

    bool SetTimer(UINT_PTR id, UINT periodMs) const;
    void KillTimer(UINT_PTR id) const;

    // Sends a command as a click of control id would (BN_CLICKED).
    void SendCommand(UINT id) const;

    // Called by a handler of the message being dispatched: false lets the dispatch go on to
    // the next handler (the base's table, then the dialog manager's default), as if this
    // handler had not taken it.
    void SetMsgHandled(bool handled);

protected:
    // The table chain; DialogImpl<T> puts T's table in front of its base's.
    virtual bool Dispatch(DialogMessage&) { return false; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam) const;

    UINT templateId_;
    HINSTANCE resources_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ending_ = false;
    // The message whose handlers run now (messages sent meanwhile nest).
    DialogMessage* current_ = nullptr;
};

// Puts T's table (static const MessageTable<T>& T::Messages()) in front of Base's chain.
template <typename T, typename Base = CDialog>
class DialogImpl : public Base {
public:
    using Base::Base;

protected:
    bool Dispatch(DialogMessage& m) override {
        return T::Messages().Dispatch(static_cast<T&>(*this), m) || Base::Dispatch(m);
    }
};

}  // namespace controls
