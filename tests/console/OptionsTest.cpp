// The command line: what is accepted, what is refused and why.
#include <gtest/gtest.h>

#include "console/Options.h"

namespace console {
namespace {

ParsedCommandLine Parse(std::vector<std::wstring> args) { return ParseCommandLine(args); }

TEST(CommandLineOptions, PrinterNamesAreTakenExactlyAndOnlyAfterDelete) {
  auto p = Parse({L"/delete", L"  Lobby ", L"office"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.request.printerNames, (std::vector<std::wstring>{L"  Lobby ", L"office"}));
  // Options may come first; names still belong to /delete.
  auto q = Parse({L"/yes", L"/delete", L"A", L"/plan", L"B"});
  ASSERT_TRUE(q.ok) << q.error;
  EXPECT_EQ(q.request.printerNames, (std::vector<std::wstring>{L"A", L"B"}));
  EXPECT_FALSE(Parse({L"Office", L"/delete"}).ok);
  EXPECT_FALSE(Parse({L"/all", L"Office"}).ok);
  EXPECT_FALSE(Parse({L"/list", L"Office"}).ok);
}

TEST(CommandLineOptions, RefusalsSayWhatIsWrong) {
  struct Case {
    std::vector<std::wstring> args;
    std::wstring mentions;
  };
  const std::vector<Case> cases = {
      {{}, L"/list"},
      {{L"/delete"}, L"printer name"},
      {{L"/list", L"/all"}, L"Only one"},
      {{L"/delete", L"A", L"/delete", L"B"}, L"Only one"},
      {{L"/all", L"/json"}, L"/json"},
      {{L"/list", L"/yes"}, L"/yes"},
      {{L"/list", L"/plan"}, L"/plan"},
      {{L"/all", L"/shared:delete"}, L"/shared"},
      {{L"/delete", L"A", L"/shared:maybe"}, L"keep or delete"},
      {{L"/delete", L"A", L"/shared:keep", L"/shared:delete"}, L"once"},
      {{L"/all", L"/report:"}, L"file name"},
      {{L"/all", L"/report:a", L"/report:b"}, L"once"},
      {{L"/all", L"/force"}, L"/force"},
      {{L"/all", L"-"}, L"printer names follow"},
  };
  for (const auto& c : cases) {
    const auto p = ParseCommandLine(c.args);
    EXPECT_FALSE(p.ok) << "accepted: " << c.args.size() << " arguments";
    EXPECT_NE(p.error.find(c.mentions), std::wstring::npos) << std::string(p.error.begin(), p.error.end());
  }
}

}  // namespace
}  // namespace console
