#pragma once
// Where the console program writes: its lines and its errors. The Windows
// main writes them to the console (or, redirected, as UTF-8); tests keep them.
#include <string>

namespace console {

class Output {
 public:
  virtual ~Output() = default;
  virtual void Line(const std::wstring& text) = 0;
  virtual void Error(const std::wstring& text) = 0;
};

}  // namespace console
