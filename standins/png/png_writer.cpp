#include "standins/png/png_writer.h"

#include <wincodec.h>

#include <string>
#include <vector>

namespace {

// COM for the calling thread, whatever state it was in before.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_ != nullptr) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// Rows of 24-bit BGR pixels, top row first, each padded to 4 bytes.
struct Pixels {
  UINT width = 0;
  UINT height = 0;
  UINT stride = 0;
  std::vector<BYTE> bytes;
};

bool ReadBitmap(HBITMAP bitmap, Pixels* pixels) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return false;
  if (info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  pixels->width = static_cast<UINT>(info.bmWidth);
  pixels->height = static_cast<UINT>(info.bmHeight);
  pixels->stride = (pixels->width * 3 + 3) & ~3u;
  pixels->bytes.assign(static_cast<size_t>(pixels->stride) * pixels->height, 0);

  BITMAPINFO request = {};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;  // top-down
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 24;
  request.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  int lines =
      GetDIBits(screen, bitmap, 0, pixels->height, pixels->bytes.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return lines == info.bmHeight;
}

bool EncodePng(const Pixels& pixels, const wchar_t* path) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())))) {
    return false;
  }
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.out()))) return false;
  if (FAILED(stream->InitializeFromFilename(path, GENERIC_WRITE))) return false;
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()))) {
    return false;
  }
  if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(encoder->CreateNewFrame(frame.out(), nullptr))) return false;
  if (FAILED(frame->Initialize(nullptr))) return false;
  if (FAILED(frame->SetSize(pixels.width, pixels.height))) return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format))) return false;
  if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
  if (FAILED(frame->WritePixels(pixels.height, pixels.stride,
                                static_cast<UINT>(pixels.bytes.size()),
                                const_cast<BYTE*>(pixels.bytes.data())))) {
    return false;
  }
  if (FAILED(frame->Commit())) return false;
  return SUCCEEDED(encoder->Commit());
}

// A raised border and, for a window with a caption, its title bar, in the
// strip around the client area.
void DrawFrame(HWND window, HDC dc, int width, int height, int client_x, int client_y) {
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return;
  int border = client_x > 0 ? client_x : 0;
  RECT caption = {border, border, width - border, client_y - 1};
  if (caption.bottom > caption.top)
    DrawCaption(window, dc, &caption, DC_ACTIVE | DC_TEXT | DC_GRADIENT);
}

std::wstring Widen(const char* path) {
  int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n - 1));
  return wide;
}

}  // namespace

bool WriteBitmapPng(HBITMAP bitmap, const wchar_t* path) {
  Pixels pixels;
  if (path == nullptr || !ReadBitmap(bitmap, &pixels)) return false;
  return EncodePng(pixels, path);
}

bool WriteBitmapPng(HBITMAP bitmap, const char* path) {
  return path != nullptr && WriteBitmapPng(bitmap, Widen(path).c_str());
}

bool WriteWindowPng(HWND window, const wchar_t* path) {
  RECT rect = {};
  if (path == nullptr || !GetWindowRect(window, &rect)) return false;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

  // The client area, children included, is copied from the screen; the frame
  // is drawn here, since with no window manager (as under Xvfb) the screen
  // holds none to copy.
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  RECT client = {};
  GetClientRect(window, &client);
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  DrawFrame(window, memory, width, height, origin.x - rect.left, origin.y - rect.top);
  BOOL copied = BitBlt(memory, origin.x - rect.left, origin.y - rect.top, client.right,
                       client.bottom, source, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(window, source);

  bool written = copied && WriteBitmapPng(bitmap, path);
  DeleteObject(bitmap);
  return written;
}

bool WriteWindowPng(HWND window, const char* path) {
  return path != nullptr && WriteWindowPng(window, Widen(path).c_str());
}
