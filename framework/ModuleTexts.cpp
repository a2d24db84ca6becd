#include "framework/ModuleTexts.h"

#include <windows.h>

#include "framework/ResourceModule.h"

namespace {

std::wstring LoadFrom(HINSTANCE module, int id) {
  // With a zero length LoadStringW answers a pointer into the resource
  // itself and the text's length: no buffer can cut a long text short. The
  // text is not null-terminated there.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return {};
  return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace

std::wstring CModuleTexts::Load(int id) const {
  std::wstring text = LoadFrom(AfxGetResourceHandle(), id);
  if (text.empty()) text = LoadFrom(AfxGetInstanceHandle(), id);
  return text;
}
