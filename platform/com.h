#pragma once
// COM apartment guard and an owning interface pointer.

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace platform {

// Initialises COM for the calling thread (single-threaded apartment) for the guard's lifetime.
// A nested guard on an already initialised thread only counts the apartment up and down.
class ComApartment {
public:
    ComApartment() : hr_(::CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(hr_)) {
            ::CoUninitialize();
        }
    }
    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        reset();
        p_ = std::exchange(other.p_, nullptr);
        return *this;
    }
    ~com_ptr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) {
            std::exchange(p_, nullptr)->Release();
        }
    }

    template <typename U>
    HRESULT query(const IID& iid, com_ptr<U>& out) const {
        return p_ ? p_->QueryInterface(iid, out.put_void()) : E_POINTER;
    }

private:
    T* p_ = nullptr;
};

// Memory that a COM call allocated with CoTaskMemAlloc and handed to the caller (texts that
// ITask returns, for example).
template <typename T>
class unique_cotaskmem {
public:
    unique_cotaskmem() = default;
    unique_cotaskmem(const unique_cotaskmem&) = delete;
    unique_cotaskmem& operator=(const unique_cotaskmem&) = delete;
    ~unique_cotaskmem() { ::CoTaskMemFree(p_); }
    T get() const { return p_; }
    T* put() {
        ::CoTaskMemFree(std::exchange(p_, nullptr));
        return &p_;
    }

private:
    T p_ = nullptr;
};

}  // namespace platform
