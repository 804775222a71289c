// The shell-link desktop shortcut, written through the shell's link objects into the
// desktop folder the registry names and read back through them. Windows only (runs
// under Wine too).
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <objbase.h>
#include <optional>
#include <shlobj.h>
#include <string>
#include <vector>
#include <windows.h>

#include "base/file_layer.h"
#include "platform/desktop_shortcut.h"
#include "platform/system/wide_text_win32.h"
#include "support/temp_folder.h"

namespace {

// The desktop folder is the "Desktop" value of both keys: the shell reads "User Shell
// Folders" and keeps "Shell Folders", which the program reads, in step with it.
constexpr const wchar_t* kDesktopKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
};

// A value of the current user's registry as stored, or its absence.
struct RegistryValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

RegistryValue ReadValue(const wchar_t* key) {
  RegistryValue value;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, L"Desktop", RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return value;
  value.bytes.resize(size);
  value.present = RegGetValueW(HKEY_CURRENT_USER, key, L"Desktop", RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                               value.bytes.data(), &size) == ERROR_SUCCESS;
  return value;
}

void WriteValue(const wchar_t* key, const RegistryValue& value) {
  if (!value.present) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"Desktop");
    return;
  }
  RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Desktop", value.type, value.bytes.data(),
                  static_cast<DWORD>(value.bytes.size()));
}

void SetDesktopFolder(const std::wstring& folder) {
  RegistryValue value{true, REG_SZ, {}};
  const auto* bytes = reinterpret_cast<const BYTE*>(folder.c_str());
  value.bytes.assign(bytes, bytes + (folder.size() + 1) * sizeof(wchar_t));
  for (const wchar_t* key : kDesktopKeys) WriteValue(key, value);
}

// Points the registry's desktop folder at a scratch folder while the test runs.
class DesktopShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* key : kDesktopKeys) m_saved.push_back(ReadValue(key));
    std::wstring desktop = WideFromUtf8(m_desktop.Path());
    desktop.pop_back();  // the registry names folders without a closing backslash
    SetDesktopFolder(desktop);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    CoUninitialize();
    for (std::size_t i = 0; i < m_saved.size(); ++i) WriteValue(kDesktopKeys[i], m_saved[i]);
  }

  struct Link {
    std::wstring target;
    std::wstring folder;
  };
  // The target and working folder of the link file at `path`, read through the shell.
  static std::optional<Link> ReadLink(const std::string& path) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
      return std::nullopt;
    std::optional<Link> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t target[MAX_PATH] = {};
      wchar_t folder[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(WideFromUtf8(path).c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
          SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
        result = Link{target, folder};
      file->Release();
    }
    link->Release();
    return result;
  }

  static std::wstring WithoutClosingSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
  }

  TempFolder m_desktop;
  TempFolder m_profile;
  std::vector<RegistryValue> m_saved;
};

TEST_F(DesktopShortcutTest, TheLinkNamedAfterItsTitleStartsTheTargetInItsFolder) {
  struct Case {
    const char* name;
    std::string folder;  // below the scratch profile
    std::string title;
  } const cases[] = {
      {"plain names", "RavelstowData/Vantrose/Exec", "Ravelstow VANTROSE"},
      {"letters beyond ASCII", "Jos\xC3\xA9 M\xC3\xBCller/RavelstowData/Vantrose/Exec", "Ravelstow VANTROSE \xC3\xA9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string target = JoinPath(m_profile.Path(), c.folder + "/Vantrose.EXE");
    std::filesystem::create_directories(std::filesystem::path(WideFromUtf8(FolderPart(target))));
    std::ofstream(std::filesystem::path(WideFromUtf8(target))) << "program";
    MakeSystemDesktopShortcut()->Make(target, c.title);

    const std::string linkPath = JoinPath(m_desktop.Path(), c.title + ".lnk");
    ASSERT_TRUE(FileExists(linkPath)) << "no " << linkPath;
    const std::optional<Link> link = ReadLink(linkPath);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(Utf8FromWide(link->target), target);
    EXPECT_EQ(Utf8FromWide(WithoutClosingSeparator(link->folder)), JoinPath(m_profile.Path(), c.folder));
  }
}

TEST_F(DesktopShortcutTest, AnExistingShortcutIsReplaced) {
  const std::string first = JoinPath(m_profile.Path(), "Old/Vantrose.EXE");
  const std::string second = JoinPath(m_profile.Path(), "RavelstowData/Vantrose/Exec/Vantrose.EXE");
  MakeSystemDesktopShortcut()->Make(first, "Ravelstow VANTROSE");
  MakeSystemDesktopShortcut()->Make(second, "Ravelstow VANTROSE");
  EXPECT_EQ(ListFolder(m_desktop.Path()), std::vector<std::string>{"Ravelstow VANTROSE.lnk"});
  const std::optional<Link> link = ReadLink(JoinPath(m_desktop.Path(), "Ravelstow VANTROSE.lnk"));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(Utf8FromWide(link->target), second);
}

TEST_F(DesktopShortcutTest, AShortcutThatCannotBeWrittenIsSkippedSilently) {
  SetDesktopFolder(WideFromUtf8(JoinPath(m_desktop.Path(), "NoSuchFolder")));
  MakeSystemDesktopShortcut()->Make(JoinPath(m_profile.Path(), "Vantrose.EXE"), "Ravelstow VANTROSE");
  EXPECT_TRUE(ListFolder(m_desktop.Path()).empty());
}

}  // namespace
