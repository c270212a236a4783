#include "engine/task_registration.h"

#include "engine/task_service.h"

namespace engine {

HRESULT RegisterRootTask(const std::string& name, const std::string& xml) {
    platform::com_ptr<ITaskFolder> root;
    HRESULT hr = OpenRootTaskFolder(root);
    if (FAILED(hr)) {
        return hr;
    }
    platform::com_ptr<IRegisteredTask> task;
    const VARIANT none = NoVariant();
    return root->RegisterTask(unique_bstr(name).get(), unique_bstr(xml).get(),
                              TASK_CREATE_OR_UPDATE, none, none, TASK_LOGON_INTERACTIVE_TOKEN, none,
                              task.put());
}

HRESULT DeleteRootTask(const std::string& name) {
    platform::com_ptr<ITaskFolder> root;
    HRESULT hr = OpenRootTaskFolder(root);
    if (SUCCEEDED(hr)) {
        hr = root->DeleteTask(unique_bstr(name).get(), 0);
    }
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : hr;
}

}  // namespace engine
