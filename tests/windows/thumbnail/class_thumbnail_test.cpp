// A class file's thumbnail as its class, through the built plugin's export:
// the lines drawn (one DrawTextW call a line, recorded through the import
// table) against the reader's outline (javap -p's text), at 96, 200 and 256
// pixels, for guava's Maps, commons-lang3's StrBuilder and the demo classes.
// The PNGs stay in the test's folder (class_thumbnails\) to be looked at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classfile/bytecode_view.h"
#include "host/listplug.h"
#include "standins/hooks/import_hooks.h"
#include "standins/png/png_writer.h"
#include "tests/windows/decompile/plugin_folder.h"
#include "tests/windows/test_support.h"

namespace {

struct Drawn {
  std::wstring text;
  RECT box;
};
std::vector<Drawn> g_drawn;
std::vector<int> g_fontHeights;
int g_ansiTexts = 0;

int WINAPI RecordDrawTextW(HDC dc, LPCWSTR text, int length, RECT* box, UINT format) {
  g_drawn.push_back({std::wstring(text, length), *box});
  return DrawTextW(dc, text, length, box, format);
}
int WINAPI CountDrawTextA(HDC dc, LPCSTR text, int length, RECT* box, UINT format) {
  ++g_ansiTexts;
  return DrawTextA(dc, text, length, box, format);
}
HFONT WINAPI RecordCreateFontW(int height, int width, int escapement, int orientation, int weight,
                               DWORD italic, DWORD underline, DWORD strike, DWORD charset,
                               DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitch,
                               LPCWSTR face) {
  g_fontHeights.push_back(height);
  return CreateFontW(height, width, escapement, orientation, weight, italic, underline, strike,
                     charset, outPrecision, clipPrecision, quality, pitch, face);
}

std::string Narrow(const std::wstring& text) { return ToUtf8(text); }

// What javap -p names: each declaration's name ("appendln", the field's,
// a constructor's simple name) and its parameter count.
struct Declared {
  std::string name;
  int parameters;  // -1 for a field
};
std::vector<Declared> OutlineDeclarations(const std::string& outline) {
  std::vector<Declared> declared;
  size_t start = outline.find('\n') + 1;  // past the class's own line
  if (outline.compare(0, 8, "Compiled") == 0) start = outline.find('\n', start) + 1;
  for (size_t end; (end = outline.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = outline.substr(start, end - start);
    size_t paren = line.find('(');
    if (paren != std::string::npos) {
      size_t name = line.find_last_of(" .$", paren - 1) + 1;
      size_t close = line.find(')', paren);
      int count = close == paren + 1 ? 0 : 1;
      int depth = 0;
      for (size_t i = paren + 1; i < close; ++i) {
        depth += line[i] == '<' ? 1 : line[i] == '>' ? -1 : 0;
        count += line[i] == ',' && depth == 0 ? 1 : 0;
      }
      declared.push_back({line.substr(name, paren - name), count});
    } else if (!line.empty() && line.back() == ';') {
      size_t name = line.rfind(' ') + 1;
      declared.push_back({line.substr(name, line.size() - 1 - name), -1});
    }
  }
  return declared;
}

// A drawn member line's name and parameter count ("appendln(char[], int, int)").
Declared MemberOf(const std::string& label) {
  size_t paren = label.find('(');
  if (paren == std::string::npos) return {label.substr(0, label.find(':')), -1};
  int count = label[paren + 1] == ')' ? 0 : 1;
  int depth = 0;
  for (size_t i = paren + 1; i < label.size(); ++i) {
    depth += label[i] == '<' ? 1 : label[i] == '>' ? -1 : 0;
    count += label[i] == ',' && depth == 0 ? 1 : 0;
  }
  // An anonymous class's constructor is named after it, "Modern$1": javap's "1".
  size_t name = label.find_last_of('$', paren);
  name = name == std::string::npos ? 0 : name + 1;
  return {label.substr(name, paren - name), count};
}

class ClassThumbnailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(plugin_.module(), nullptr);
    preview_ = plugin_.Export<decltype(&ListGetPreviewBitmapW)>("ListGetPreviewBitmapW");
    ASSERT_NE(preview_, nullptr);
    Hook("user32.dll", "DrawTextW", reinterpret_cast<void*>(&RecordDrawTextW));
    Hook("user32.dll", "DrawTextA", reinterpret_cast<void*>(&CountDrawTextA));
    Hook("gdi32.dll", "CreateFontW", reinterpret_cast<void*>(&RecordCreateFontW));
    CreateDirectoryW((ExeDirectory() + L"class_thumbnails").c_str(), nullptr);
  }
  void Hook(const char* dll, const char* function, void* replacement) {
    hooks_.emplace_back(new ScopedImportHook(plugin_.module(), dll, function, replacement));
    ASSERT_TRUE(hooks_.back()->installed()) << function;
  }
  HBITMAP Preview(const std::wstring& path, int size, const std::string& bytes) {
    g_drawn.clear();
    g_fontHeights.clear();
    g_ansiTexts = 0;
    std::string first = bytes.substr(0, 8192);
    return preview_(const_cast<WCHAR*>(path.c_str()), size, size, &first[0],
                    static_cast<int>(first.size()));
  }

  LoadedPlugin plugin_;
  std::vector<std::unique_ptr<ScopedImportHook>> hooks_;
  decltype(&ListGetPreviewBitmapW) preview_ = nullptr;
};

TEST_F(ClassThumbnailTest, TheClassIsDrawnAsTheReaderReadsIt) {
  const wchar_t* const kClasses[] = {L"Maps",   L"StrBuilder",  L"Showcase", L"Showcase$Planet",
                                     L"Modern", L"Modern$Unit", L"Modern$1"};
  int compared = 0;
  for (const wchar_t* name : kClasses) {
    std::wstring path = ExeDirectory() + L"thumbnail_data\\" + name + L".class";
    std::string bytes = ReadFileBytes(path);
    if (bytes.empty()) {
      printf("%s: not there (Debian's jar missing), not drawn\n", Narrow(name).c_str());
      continue;
    }
    std::string outline, error;
    ASSERT_TRUE(ClassOutlineOf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                               &outline, &error))
        << error;
    std::vector<Declared> declared = OutlineDeclarations(outline);
    size_t previousLines = 0;
    int previousFont = 0;
    for (int size : {96, 200, 256}) {
      SCOPED_TRACE(Narrow(name) + " at " + std::to_string(size));
      HBITMAP bitmap = Preview(path, size, bytes);
      ASSERT_NE(bitmap, nullptr);
      BITMAP info = {};
      GetObjectW(bitmap, sizeof info, &info);
      EXPECT_EQ(info.bmWidth, size);
      EXPECT_EQ(info.bmHeight, size);
      WriteBitmapPng(bitmap, (ExeDirectory() + L"class_thumbnails\\" + name + L"-" +
                              std::to_wstring(size) + L".png")
                                 .c_str());
      DeleteObject(bitmap);
      EXPECT_EQ(g_ansiTexts, 0);
      ASSERT_GE(g_drawn.size(), 2u);
      // The kind and the simple name on top: the outline's class, past its package.
      std::string heading = Narrow(g_drawn[0].text);
      std::string simple = Narrow(name);
      if (simple.find('$') != std::string::npos && simple.back() > '9') {
        simple = simple.substr(simple.find('$') + 1);
      }
      EXPECT_NE(heading.find(" " + simple), std::string::npos) << heading;
      // Each member drawn is declared in the outline, with as many parameters.
      for (size_t i = 1; i < g_drawn.size(); ++i) {
        std::string line = Narrow(g_drawn[i].text);
        if (line.compare(0, 8, "extends ") == 0 || line.compare(0, 11, "implements ") == 0) {
          continue;
        }
        if (line.compare(0, 2, "+ ") == 0) {
          EXPECT_EQ(i, g_drawn.size() - 1) << "\"+ N more\" comes last";
          continue;
        }
        if (line.find(' ') != std::string::npos && line.find('(') == std::string::npos &&
            line.find(':') == std::string::npos) {
          continue;  // a nested class: javap lists it in a file of its own
        }
        Declared member = MemberOf(line);
        bool found = false;
        for (const Declared& d : declared) {
          found = found || (d.name == member.name && d.parameters == member.parameters);
        }
        EXPECT_TRUE(found) << line;
      }
      // Lines one below the other, none past the thumbnail.
      for (size_t i = 0; i < g_drawn.size(); ++i) {
        EXPECT_LE(g_drawn[i].box.bottom, size) << Narrow(g_drawn[i].text);
        if (i > 0) {
          EXPECT_GE(g_drawn[i].box.top, g_drawn[i - 1].box.bottom);
        }
      }
      // The font follows the size; a larger thumbnail holds at least as much.
      ASSERT_FALSE(g_fontHeights.empty());
      EXPECT_GE(-g_fontHeights[0], previousFont);
      EXPECT_GE(g_drawn.size(), previousLines);
      previousFont = -g_fontHeights[0];
      previousLines = g_drawn.size();
      ++compared;
    }
  }
  EXPECT_GE(compared, 15);
}

TEST_F(ClassThumbnailTest, AFileTheReaderRefusesKeepsItsNumberedText) {
  std::wstring path = ExeDirectory() + L"class_thumbnails\\Damaged.class";
  std::string bytes = ReadFileBytes(ExeDirectory() + L"thumbnail_data\\Showcase.class");
  ASSERT_FALSE(bytes.empty());
  bytes.resize(bytes.size() / 2);
  WriteFileBytes(path, bytes);
  HBITMAP bitmap = Preview(path, 96, bytes);
  ASSERT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
  EXPECT_EQ(g_ansiTexts, 1);
  EXPECT_TRUE(g_drawn.empty());
}

}  // namespace
