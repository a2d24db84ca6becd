#include "base/RegistryText.h"

#include "base/Utf.h"

namespace base {

std::vector<std::uint8_t> EncodeRegistryString(std::wstring_view text) {
  std::wstring data(text);
  data.push_back(L'\0');
  return WideToUtf16Bytes(data);
}

bool DecodeRegistryString(const std::vector<std::uint8_t>& bytes, std::wstring& text) {
  if (bytes.size() < 2 || bytes.size() % 2) return false;
  const std::wstring w = Utf16BytesToWide(bytes);
  if (w.back() != L'\0' || w.find(L'\0') != w.size() - 1) return false;
  text = w.substr(0, w.size() - 1);
  return true;
}

std::vector<std::uint8_t> EncodeMultiString(const std::vector<std::wstring>& strings) {
  std::wstring block;
  for (const auto& s : strings) {
    block += s;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return WideToUtf16Bytes(block);
}

bool DecodeMultiString(const std::vector<std::uint8_t>& bytes, std::vector<std::wstring>& strings) {
  if (bytes.size() < 2 || bytes.size() % 2) return false;
  const std::wstring w = Utf16BytesToWide(bytes);
  std::vector<std::wstring> out;
  if (w.size() < 2 || w[w.size() - 1] != L'\0' || w[w.size() - 2] != L'\0') {
    if (w != std::wstring(1, L'\0')) return false;
    strings.clear();
    return true;
  }
  size_t start = 0;
  while (start + 1 < w.size()) {
    const size_t end = w.find(L'\0', start);
    if (end == start) return false;  // an empty string inside the block
    out.push_back(w.substr(start, end - start));
    start = end + 1;
  }
  strings = std::move(out);
  return true;
}

}  // namespace base
