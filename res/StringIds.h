#pragma once
// Ids of the string table. The texts live once, in res/strings/*.inc, which
// both the resource compiler and the native tests read.

namespace res {

enum StringId : int {
  kAboutMenuItem = 101,
  kCaption = 102,
  kNoPrinters = 103,
  kSelectAllHint = 104,
  kDriverKeptNotice = 105,
  kDeleteAllWarning = 129,
  kJobsQueued = 130,
  kVersionLine = 140,
  kCompanyLine = 141,
  kRightsLine = 142,
  kPatentIntroduction = 143,
  kLegalWarning = 144,
  kCopyrightLine = 145,
  kNothingSelected = 147,
  kNotDeleted = 148,      // the run's closing report of printers the spooler kept
  kNotDeletedLine = 149,  // one printer of that report: name and the system's reason
  kDriverShared = 1009,
  kCloseApplications = 1010,
};

}  // namespace res
