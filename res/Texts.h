#pragma once
// Where the program's texts come from: on Windows the string table of the
// current resource module (the executable or a language module), natively
// the same English table compiled in.
#include <string>

namespace res {

class Texts {
 public:
  virtual ~Texts() = default;
  // The text of a string-table entry; empty when there is none.
  virtual std::wstring Load(int id) const = 0;
};

// The English table of res/strings/ENU.inc.
class EnglishTexts final : public Texts {
 public:
  std::wstring Load(int id) const override;
};

}  // namespace res
