#pragma once
// The documented logon trigger and COM handler action of Task Scheduler 2.0; the compiler's
// headers lack them.

#include <windows.h>
#include <taskschd.h>

MIDL_INTERFACE("72dade38-fae4-4b3e-baf4-5d009af02b1c")
ILogonTriggerDoc : public ITrigger {
    virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR * delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR * user) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};

MIDL_INTERFACE("6d2fd252-75c5-4f66-90ba-2a7d8cc3039f")
IComHandlerActionDoc : public IAction {
    virtual HRESULT STDMETHODCALLTYPE get_ClassId(BSTR * classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ClassId(BSTR classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Data(BSTR * data) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Data(BSTR data) = 0;
};

namespace engine {

inline constexpr IID kLogonTriggerIid = {
    0x72dade38, 0xfae4, 0x4b3e, {0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c}};
inline constexpr IID kComHandlerActionIid = {
    0x6d2fd252, 0x75c5, 0x4f66, {0x90, 0xba, 0x2a, 0x7d, 0x8c, 0xc3, 0x03, 0x9f}};

}  // namespace engine
