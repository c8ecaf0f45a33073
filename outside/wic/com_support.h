// COM plumbing shared by the WIC reader and writer: a balanced
// CoInitializeEx per call, an owning interface pointer and the factory.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <string>

namespace quillo::wic {

// Initialises COM for the duration of one call; leaves an apartment the
// caller already set up (in either model) as it was.
class ComScope {
 public:
  ComScope() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    owned_ = hr == S_OK || hr == S_FALSE;
    usable_ = owned_ || hr == RPC_E_CHANGED_MODE;
  }
  ~ComScope() {
    if (owned_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool usable() const { return usable_; }

 private:
  bool owned_ = false;
  bool usable_ = false;
};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = other.p_;
      other.p_ = nullptr;
    }
    return *this;
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

inline ComPtr<IWICImagingFactory> CreateFactory() {
  ComPtr<IWICImagingFactory> factory;
  CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                   IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()));
  return factory;
}

// A path in the ANSI code page as UTF-16 for the WIC stream functions.
inline std::wstring Widen(const char* path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), n);
  wide.resize(size_t(n - 1));
  return wide;
}

}  // namespace quillo::wic
