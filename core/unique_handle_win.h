#pragma once
// The one owning-handle template of the program: a platform handle released exactly once, on every
// return path, with the function given as `Close` (a named function, so that the type is the same in
// every file). Also the few scoped pairs that are not a single
// handle: a window's device context, an object selected into a device context, a thread's apartment
// and GDI+ start-up.
#include <windows.h>
#include <gdiplus.h>
#include <roapi.h>

#include <type_traits>
#include <utility>

template <class Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  // Member access for a handle that points to an object with members (a COM interface).
  Handle operator->() const noexcept
    requires std::is_class_v<std::remove_pointer_t<Handle>>
  {
    return handle_;
  }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }
  // Gives up ownership without closing.
  Handle release() noexcept { return std::exchange(handle_, Handle{}); }
  // Closes the handle held (unless it is `handle` itself) and takes `handle`.
  void reset(Handle handle = Handle{}) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Handle{} && old != handle) Close(old);
  }
  // For out-parameters: closes what is held and returns the slot to fill.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_{};
};

// Close functions are named (not lambdas) so that every file sees the same handle types.
namespace handle_close {
inline void GdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }
inline void MemoryDc(HDC dc) noexcept { DeleteDC(dc); }
inline void KernelHandle(HANDLE handle) noexcept { CloseHandle(handle); }
inline void Window(HWND window) noexcept {
  if (IsWindow(window)) DestroyWindow(window);
}
inline void Menu(HMENU menu) noexcept { DestroyMenu(menu); }
inline void GlobalMemory(HGLOBAL memory) noexcept { GlobalFree(memory); }
template <class Interface>
void ComObject(Interface* object) noexcept {
  object->Release();
}
}  // namespace handle_close

using UniqueFont = UniqueHandle<HFONT, &handle_close::GdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &handle_close::GdiObject>;
using UniqueRegion = UniqueHandle<HRGN, &handle_close::GdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, &handle_close::GdiObject>;
using UniqueMemoryDc = UniqueHandle<HDC, &handle_close::MemoryDc>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &handle_close::KernelHandle>;
using UniqueMenu = UniqueHandle<HMENU, &handle_close::Menu>;
// Global memory that is freed unless it was handed over (to the clipboard, with release()).
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, &handle_close::GlobalMemory>;
// A window destroyed when its owner lets go of it (unless the system destroyed it already).
using UniqueWindow = UniqueHandle<HWND, &handle_close::Window>;
// One reference to a COM object (Direct3D, DXGI, WIC, Windows Runtime, composition), released once:
// the program's only owner of COM references. For an out-parameter of type void**:
// `reinterpret_cast<void**>(object.put())`.
template <class Interface>
using UniqueCom = UniqueHandle<Interface*, &handle_close::ComObject<Interface>>;

// A reference of its own to `object` (none for null), for a second owner.
template <class Interface>
UniqueCom<Interface> ShareCom(Interface* object) noexcept {
  if (object) object->AddRef();
  return UniqueCom<Interface>(object);
}

// `object`'s interface `iid` as a reference of its own, or the failure of QueryInterface.
template <class Interface>
HRESULT QueryCom(IUnknown* object, const GUID& iid, UniqueCom<Interface>& result) noexcept {
  if (!object) return E_POINTER;
  return object->QueryInterface(iid, reinterpret_cast<void**>(result.put()));
}

// A device context from GetDC, released with ReleaseDC; a null window is the whole screen.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back, at the latest on
// destruction. Declared after the object it selects, so it is undone before that object dies.
class GdiSelection {
 public:
  GdiSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~GdiSelection() { Restore(); }
  GdiSelection(const GdiSelection&) = delete;
  GdiSelection& operator=(const GdiSelection&) = delete;
  bool Succeeded() const noexcept { return previous_ != nullptr && previous_ != HGDI_ERROR; }
  void Restore() noexcept {
    if (Succeeded()) SelectObject(dc_, previous_);
    previous_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The calling thread's membership in a COM apartment (multithreaded for workers) or in the Windows
// Runtime (single-threaded on the UI thread). A thread already in another apartment keeps it and is
// not uninitialised here.
class ScopedApartment {
 public:
  enum class Kind { ComMultithreaded, RuntimeSingleThreaded };
  explicit ScopedApartment(Kind kind) noexcept
      : kind_(kind),
        joined_(SUCCEEDED(kind == Kind::ComMultithreaded ? CoInitializeEx(nullptr, COINIT_MULTITHREADED)
                                                         : RoInitialize(RO_INIT_SINGLETHREADED))) {}
  ~ScopedApartment() {
    if (!joined_) return;
    if (kind_ == Kind::ComMultithreaded) {
      CoUninitialize();
    } else {
      RoUninitialize();
    }
  }
  ScopedApartment(const ScopedApartment&) = delete;
  ScopedApartment& operator=(const ScopedApartment&) = delete;
  bool joined() const noexcept { return joined_; }

 private:
  Kind kind_;
  bool joined_;
};

// GDI+ for the lifetime of this object.
class ScopedGdiplus {
 public:
  ScopedGdiplus() noexcept {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
  }
  ~ScopedGdiplus() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
  }
  ScopedGdiplus(const ScopedGdiplus&) = delete;
  ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;
  bool started() const noexcept { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};
