#pragma once
// The string table of the current resource module as res::Texts. An entry
// that a language module lacks comes from the executable's own (English)
// table.
#include "res/Texts.h"

class CModuleTexts final : public res::Texts {
 public:
  std::wstring Load(int id) const override;
};
