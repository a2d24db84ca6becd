#include "framework/ListBox.h"

#include <vector>

std::wstring CListBox::GetText(int index) const {
  const LRESULT length = SendMessageW(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == LB_ERR) return {};
  return std::wstring(buffer.data(), static_cast<std::size_t>(copied));
}
