#include "engine/task_service.h"

#include "platform/text_codec.h"

namespace engine {

unique_bstr::unique_bstr(const std::string& text)
    : p_(::SysAllocString(platform::text::Wide(text).c_str())) {}

std::string unique_bstr::Narrow() const {
    return p_ ? platform::text::Narrow(std::wstring_view(p_, ::SysStringLen(p_))) : std::string();
}

VARIANT NoVariant() {
    VARIANT none;
    ::VariantInit(&none);
    return none;
}

VARIANT IndexVariant(LONG index) {
    VARIANT value = NoVariant();
    value.vt = VT_I4;
    value.lVal = index;
    return value;
}

HRESULT CreateTaskService(platform::com_ptr<ITaskService>& service) {
    return ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              service.put_void());
}

HRESULT ConnectTaskService(platform::com_ptr<ITaskService>& service) {
    HRESULT hr = CreateTaskService(service);
    if (FAILED(hr)) {
        return hr;
    }
    return service->Connect(NoVariant(), NoVariant(), NoVariant(), NoVariant());
}

HRESULT OpenRootTaskFolder(platform::com_ptr<ITaskFolder>& root) {
    platform::com_ptr<ITaskService> service;
    HRESULT hr = ConnectTaskService(service);
    if (SUCCEEDED(hr)) {
        hr = service->GetFolder(unique_bstr("\\").get(), root.put());
    }
    return hr;
}

HRESULT OpenRegisteredTask(const std::string& path, platform::com_ptr<IRegisteredTask>& task) {
    platform::com_ptr<ITaskFolder> root;
    HRESULT hr = OpenRootTaskFolder(root);
    if (SUCCEEDED(hr)) {
        hr = root->GetTask(unique_bstr(path).get(), task.put());
    }
    return hr;
}

}  // namespace engine
