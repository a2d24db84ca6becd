#pragma once
// The JSON report of /report:FILE (fields in docs/report.md).
#include <string>
#include <vector>

#include "console/Options.h"
#include "console/RunOutcome.h"

namespace console {

struct ReportHeader {
  std::wstring toolVersion;
  std::wstring machineName;
  std::string started;  // UTC, ISO 8601
  std::string ended;
  std::vector<std::wstring> arguments;
};

// Text for the JSON: UTF-8, with any lone surrogate as U+FFFD.
std::string JsonText(const std::wstring& text);

std::string ReportJson(const ReportHeader& header, const Request* request, const RunOutcome* outcome, int exitCode,
                       const std::vector<std::wstring>& errors);

// Writes the text to the file (created or replaced); false when it cannot.
bool WriteReportFile(const std::wstring& path, const std::string& text);

}  // namespace console
