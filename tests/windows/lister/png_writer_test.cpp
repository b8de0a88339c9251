// The PNG writer: what goes in comes back out of WIC's decoder, pixel for pixel.
#include "standins/png/png_writer.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "tests/windows/test_support.h"

namespace {

// The decoded file as 24-bit BGR rows, or empty when it cannot be read.
std::vector<BYTE> DecodePng(const std::wstring& path, UINT* width, UINT* height) {
  std::vector<BYTE> pixels;
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
    return pixels;
  }
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(width, height)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom))) {
    pixels.resize(static_cast<size_t>(*width) * *height * 3);
    if (FAILED(converter->CopyPixels(nullptr, *width * 3, static_cast<UINT>(pixels.size()),
                                     pixels.data()))) {
      pixels.clear();
    }
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  factory->Release();
  return pixels;
}

class PngWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override {
    DeleteFileW(path_.c_str());
    CoUninitialize();
  }
  std::wstring path_ = ExeDirectory() + L"png_writer_test.png";
};

TEST_F(PngWriterTest, ABitmapComesBackWithItsSizeColoursAndRowOrder) {
  // 5 pixels wide, so that rows need padding; distinct colours in three corners.
  const int kWidth = 5, kHeight = 3;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT all = {0, 0, kWidth, kHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, kWidth - 1, 0, RGB(0, 0, 255));
  SetPixel(dc, 0, kHeight - 1, RGB(0, 128, 0));
  SelectObject(dc, previous);
  DeleteDC(dc);

  ASSERT_TRUE(WriteBitmapPng(bitmap, path_.c_str()));
  DeleteObject(bitmap);

  UINT width = 0, height = 0;
  std::vector<BYTE> pixels = DecodePng(path_, &width, &height);
  ASSERT_EQ(width, 5u);
  ASSERT_EQ(height, 3u);
  ASSERT_EQ(pixels.size(), 45u);
  auto at = [&](int x, int y) {
    const BYTE* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_EQ(at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(at(4, 0), RGB(0, 0, 255));
  EXPECT_EQ(at(0, 2), RGB(0, 128, 0));
  EXPECT_EQ(at(2, 1), RGB(255, 255, 255));
}

TEST_F(PngWriterTest, NothingUsableIsRefused) {
  EXPECT_FALSE(WriteBitmapPng(nullptr, path_.c_str()));
  EXPECT_FALSE(WriteWindowPng(nullptr, path_.c_str()));
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PngWriterTest, AWindowIsWrittenAtItsOuterSize) {
  HWND window = CreateWindowExA(0, "STATIC", "png", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 120,
                                70, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  bool written = WriteWindowPng(window, path_.c_str());
  DestroyWindow(window);
  ASSERT_TRUE(written);
  UINT width = 0, height = 0;
  EXPECT_FALSE(DecodePng(path_, &width, &height).empty());
  EXPECT_EQ(width, 120u);
  EXPECT_EQ(height, 70u);
}

}  // namespace
