// Drives a running Velbrook for the screenshot tour: waits for windows and sends them
// messages, one step per command-line call.
//
//   tour_driver wait TITLE [MS]                 until a visible top-level window TITLE exists
//   tour_driver gone TITLE [MS]                 until none does
//   tour_driver post TITLE MESSAGE WPARAM LPARAM
//   tour_driver command TITLE ID                WM_COMMAND from control or menu item ID
//   tour_driver click TITLE ID                  a click on control ID anywhere inside TITLE
//   tour_driver key VK                          a key press and release
//   tour_driver trust CERT.cer                  the certificate among the machine's trusted roots
//
// Exit code 0 when the step was done, 1 when the window was not found in time, 2 on usage.

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

HWND FindVisible(const char* title) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, nullptr, title)) != nullptr) {
        if (::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitFor(const char* title, DWORD waitMs) {
    const ULONGLONG until = ::GetTickCount64() + waitMs;
    for (;;) {
        if (HWND window = FindVisible(title)) {
            return window;
        }
        if (::GetTickCount64() >= until) {
            return nullptr;
        }
        ::Sleep(50);
    }
}

HWND FindDescendant(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (::GetDlgCtrlID(child) == s.id && ::IsWindowVisible(child)) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

// The tests' certificate authority, so the tour shows a verified publisher.
bool Trust(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    HCERTSTORE root =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!root) {
        return false;
    }
    const bool added = !der.empty() &&
                       ::CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING,
                                                          reinterpret_cast<const BYTE*>(der.data()),
                                                          static_cast<DWORD>(der.size()),
                                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(root, 0);
    return added;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tour_driver wait|gone|post|command|click|key|trust ...\n", stderr);
        return 2;
    }
    const std::string step = argv[1];
    if (step == "key") {
        const auto key = static_cast<BYTE>(Number(argv[2]));
        ::keybd_event(key, 0, 0, 0);
        ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        return 0;
    }
    if (step == "trust") {
        return Trust(argv[2]) ? 0 : 1;
    }
    const char* title = argv[2];
    if (step == "wait") {
        return WaitFor(title, argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 20000) ? 0 : 1;
    }
    if (step == "gone") {
        const ULONGLONG until = ::GetTickCount64() + (argc > 3 ? Number(argv[3]) : 20000);
        while (FindVisible(title)) {
            if (::GetTickCount64() >= until) {
                return 1;
            }
            ::Sleep(50);
        }
        return 0;
    }
    HWND window = WaitFor(title, 10000);
    if (!window) {
        std::fprintf(stderr, "no window \"%s\"\n", title);
        return 1;
    }
    if (step == "post" && argc == 6) {
        ::PostMessageA(window, static_cast<UINT>(Number(argv[3])),
                       static_cast<WPARAM>(Number(argv[4])), static_cast<LPARAM>(Number(argv[5])));
        return 0;
    }
    if (step == "command" && argc == 4) {
        ::PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(Number(argv[3])), 0);
        return 0;
    }
    if (step == "click" && argc == 4) {
        HWND control = FindDescendant(window, static_cast<int>(Number(argv[3])));
        if (!control) {
            std::fprintf(stderr, "no control %s in \"%s\"\n", argv[3], title);
            return 1;
        }
        ::PostMessageA(::GetParent(control), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED),
                       reinterpret_cast<LPARAM>(control));
        return 0;
    }
    std::fputs("usage: tour_driver wait|gone|post|command|click|key|trust ...\n", stderr);
    return 2;
}
