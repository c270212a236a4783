#include "platform/web_page.h"

#include "platform/com.h"

#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <mutex>
#include <utility>

namespace platform {

namespace {
std::mutex handlerLock;
WebPageHandler& Handler() {
    static WebPageHandler handler;
    return handler;
}
WebPageHandler& DesktopHandler() {
    static WebPageHandler handler;
    return handler;
}

struct Bstr {
    explicit Bstr(const std::string& text) {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        value = ::SysAllocStringLen(nullptr, length > 0 ? static_cast<UINT>(length - 1) : 0);
        if (value && length > 0) {
            ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, value, length);
        }
    }
    ~Bstr() { ::SysFreeString(value); }
    BSTR value = nullptr;
};

// The desktop's shell view, found through the shell windows of the desktop's process, hands out
// its application object: what it starts, the desktop's process starts.
bool ShellExecuteOnDesktop(const std::string& address) {
    ComApartment apartment;
    com_ptr<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_IShellWindows, windows.put_void()))) {
        return false;
    }
    VARIANT none;
    ::VariantInit(&none);
    long window = 0;
    com_ptr<IDispatch> found;
    com_ptr<IServiceProvider> provider;
    com_ptr<IShellBrowser> browser;
    com_ptr<IShellView> view;
    com_ptr<IDispatch> background;
    com_ptr<IShellFolderViewDual> folderView;
    com_ptr<IDispatch> application;
    com_ptr<IShellDispatch2> shell;
    if (windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.put()) !=
            S_OK ||
        !found || FAILED(found.query(IID_IServiceProvider, provider)) ||
        FAILED(
            provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
        FAILED(browser->QueryActiveShellView(view.put())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) ||
        FAILED(background.query(IID_IShellFolderViewDual, folderView)) ||
        FAILED(folderView->get_Application(application.put())) ||
        FAILED(application.query(IID_IShellDispatch2, shell))) {
        return false;
    }
    Bstr file(address), verb("open");
    VARIANT arguments, folder, operation, show;
    ::VariantInit(&arguments);
    ::VariantInit(&folder);
    ::VariantInit(&operation);
    operation.vt = VT_BSTR;
    operation.bstrVal = verb.value;
    ::VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return SUCCEEDED(shell->ShellExecute(file.value, arguments, folder, operation, show));
}
}  // namespace

bool OpenWebPage(const std::string& address) {
    WebPageHandler handler;
    {
        std::lock_guard lock(handlerLock);
        handler = Handler();
    }
    if (handler) {
        return handler(address);
    }
    // ShellExecute reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "Open", address.c_str(), nullptr,
                                                     nullptr, SW_SHOWNORMAL)) > 32;
}

WebPageHandler SetWebPageHandler(WebPageHandler handler) {
    std::lock_guard lock(handlerLock);
    return std::exchange(Handler(), std::move(handler));
}

bool OpenWebPageUnelevated(const std::string& address) {
    WebPageHandler handler;
    {
        std::lock_guard lock(handlerLock);
        handler = DesktopHandler();
    }
    return handler ? handler(address) : ShellExecuteOnDesktop(address);
}

WebPageHandler SetDesktopShellHandler(WebPageHandler handler) {
    std::lock_guard lock(handlerLock);
    return std::exchange(DesktopHandler(), std::move(handler));
}

}  // namespace platform
