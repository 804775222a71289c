// The desktop shortcut as a shell link in the desktop folder named by the registry.
#include <objbase.h>
#include <shlobj.h>
#include <string>
#include <windows.h>

#include "base/file_layer.h"
#include "platform/desktop_shortcut.h"
#include "platform/system/wide_text_win32.h"

namespace {

// The desktop folder of the registry's "Shell Folders" key; empty when missing.
std::wstring RegistryDesktopFolder() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Desktop", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::wstring();
  return value;
}

class ShellLinkShortcut final : public DesktopShortcut {
 public:
  void Make(const std::string& target, const std::string& title) override {
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
      // The working folder ends at the last separator of either kind: the program's own
      // path is joined with "/".
      link->SetPath(WideFromUtf8(target).c_str());
      link->SetWorkingDirectory(WideFromUtf8(FolderPart(target)).c_str());
      IPersistFile* file = nullptr;
      if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring linkPath = RegistryDesktopFolder() + L"\\" + WideFromUtf8(title) + L".lnk";
        file->Save(linkPath.c_str(), FALSE);  // results are not examined: failures are silent
        file->Release();
      }
      link->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
  }
};

}  // namespace

std::unique_ptr<DesktopShortcut> MakeSystemDesktopShortcut() { return std::make_unique<ShellLinkShortcut>(); }
