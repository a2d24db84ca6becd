#include "about/AboutText.h"

#include "res/StringIds.h"

namespace about {

std::wstring ComposeAboutText(const res::Texts& texts) {
  std::wstring text = texts.Load(res::kVersionLine);
  text += L'\n';
  text += texts.Load(res::kCopyrightLine);
  text += L'\n';
  text += texts.Load(res::kCompanyLine);
  text += L'\n';
  text += texts.Load(res::kRightsLine);
  text.append(8, L'\n');
  text += texts.Load(res::kLegalWarning);
  text.append(2, L'\n');
  text += texts.Load(res::kPatentIntroduction);
  text += L'\n';
  text += kPatentNumbers;
  text.append(4, L'\n');
  return text;
}

}  // namespace about
