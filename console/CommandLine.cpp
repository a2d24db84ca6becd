#include "console/CommandLine.h"

#include <algorithm>
#include <exception>
#include <map>
#include <new>
#include <set>
#include <nlohmann/json.hpp>

#include "app/StartUp.h"
#include "base/Utf.h"
#include "console/ConsolePort.h"
#include "console/ConsolePrompts.h"
#include "console/ExitCodes.h"
#include "console/Options.h"
#include "console/Report.h"
#include "console/RunOutcome.h"
#include "engine/DeletionEngine.h"
#include "os/record/RecordingSystem.h"
#include "res/Texts.h"
#include "sysaccess/SystemAccess.h"

namespace console {
namespace {

// Drivers the spooler says are not there: nothing to delete, nothing failed.
bool NotInstalled(os::Status status) {
  return status == os::error::kUnknownPrinterDriver || status == os::error::kUnknownPrinterEnvironment;
}

// A cleanup of what the spooler left behind that the system refused: the
// file, key or value is still there, or the Spooler did not come back. A
// leftover that is not there (2, 3) is what the sweeps usually find; a stop
// of a service that was not running, or a start of one already running, is
// no failure either. The spooler's own deletions are judged on their own.
bool LeftoverFailed(const os::record::Effect& e) {
  if (e.status == os::error::kSuccess) return false;
  const auto area = e.what.substr(0, e.what.find(L'.'));
  if (area == L"files" || area == L"registry") {
    return e.status != os::error::kFileNotFound && e.status != os::error::kPathNotFound;
  }
  if (e.what == L"services.Stop") return e.status != os::error::kServiceNotActive;
  if (e.what == L"services.Start") return e.status != os::error::kServiceAlreadyRunning;
  return false;
}

std::wstring Join(const std::vector<std::wstring>& names) {
  std::wstring out;
  for (const auto& n : names) out += (out.empty() ? L"" : L", ") + n;
  return out;
}

std::uint32_t QueuedJobs(os::System& system, const std::wstring& printerName) {
  auto printer = system.spooler.Open(printerName, os::spool::kPrinterAllAccess);
  if (!printer.ok()) return 0;
  auto jobs = printer.value->Jobs(0, 0xFFFF);
  return jobs.ok() ? static_cast<std::uint32_t>(jobs.value.size()) : 0;
}

void ListPrinters(const std::vector<sysaccess::PrinterRecord>& printers, os::System& system, bool json, Output& out) {
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& p : printers) {
      nlohmann::ordered_json j;
      j["name"] = JsonText(p.printerName);
      j["type"] = p.IsLocal() ? "local" : "connection";
      j["server"] = JsonText(p.serverName);
      j["driver"] = JsonText(p.driverName);
      j["jobs"] = QueuedJobs(system, p.printerName);
      list.push_back(j);
    }
    out.Line(base::Utf8ToWide(list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)));
    return;
  }
  for (const auto& p : printers) {
    out.Line(p.printerName + L"\t" + (p.IsLocal() ? std::wstring(L"local") : L"connection to " + p.serverName) + L"\t" +
             p.driverName + L"\t" + std::to_wstring(QueuedJobs(system, p.printerName)) + L" jobs");
  }
  if (printers.empty()) out.Line(L"No printers are installed.");
}

// The printers' and drivers' outcomes, from the table the run started with,
// the port's deletions, the engine's refusals and the recorded effects.
bool StillListed(os::System& listing, const std::wstring& driver, const std::wstring& environment) {
  auto drivers = listing.spooler.Drivers(environment);
  if (!drivers.ok()) return true;  // unknown: not taken as gone
  return std::any_of(drivers.value.begin(), drivers.value.end(), [&](const os::DriverInfo& d) { return d.name == driver; });
}

// listing: the system as the run left it (for a plan, as the plan leaves it).
RunOutcome Outcome(const engine::DeletionEngine& engine, const std::vector<sysaccess::PrinterRecord>& table,
                   const std::vector<std::wstring>& chosen, const ConsolePort& port, const ConsolePrompts& prompts,
                   const os::record::RecordingSystem& recording, os::System& listing, os::System& system) {
  RunOutcome o;
  o.planned = recording.mode() == os::record::Mode::Plan;
  o.effects = recording.effects();
  o.answers = prompts.answered();
  std::map<std::wstring, os::Status> refused;
  for (const auto& n : engine.printersNotDeleted()) refused.emplace(n.printerName, n.status);
  for (const auto& p : table) {
    PrinterOutcome po;
    po.name = p.printerName;
    po.serverName = p.serverName;
    po.driverName = p.driverName;
    po.chosen = std::find(chosen.begin(), chosen.end(), p.printerName) != chosen.end();
    po.deleted = std::find(port.deleted().begin(), port.deleted().end(), p.printerName) != port.deleted().end();
    if (po.deleted) {
      po.outcome = po.chosen ? L"deleted" : L"deleted: shares a data file with a chosen printer (/shared:delete)";
    } else if (auto r = refused.find(p.printerName); r != refused.end()) {
      po.outcome = L"kept: the spooler refused";
      po.status = r->second;
      po.message = system.environment.DescribeError(r->second);
      ++o.failures;
    } else if (po.chosen) {
      po.outcome = L"kept: answer No, shares a data file with a printer that stays";
    } else {
      po.outcome = L"not chosen";
    }
    o.printers.push_back(std::move(po));
  }
  // One outcome per driver and environment: a deletion the spooler made
  // stands (the next printer of the same driver then finds it gone);
  // otherwise the last answer it gave.
  std::map<std::pair<std::wstring, std::wstring>, os::Status> last;
  std::vector<std::pair<std::wstring, std::wstring>> order;
  for (const auto& e : o.effects) {
    if (e.what != L"spooler.DeleteDriver") continue;
    const auto bar = e.target.find(L'|');
    auto key = std::make_pair(e.target.substr(bar + 1), e.target.substr(0, bar));
    if (!last.count(key)) order.push_back(key);
    if (!last.count(key) || last[key] != os::error::kSuccess) last[key] = e.status;
  }
  for (const auto& key : order) {
    DriverOutcome d;
    d.name = key.first;
    d.environment = key.second;
    const os::Status s = last[key];
    if (s == os::error::kSuccess) {
      d.outcome = L"deleted";
    } else if (NotInstalled(s) || !StillListed(listing, d.name, d.environment)) {
      // Some spoolers answer a driver that is not there with another code
      // (Wine: 0 or 87): what is not listed afterwards was not kept.
      d.outcome = L"not installed";
    } else {
      d.outcome = L"kept: the spooler refused";
      d.status = s;
      d.message = system.environment.DescribeError(s);
      ++o.failures;
    }
    o.drivers.push_back(std::move(d));
  }
  // Drivers of deleted printers that no deletion was tried for stayed for a
  // printer that stays.
  for (const auto& p : o.printers) {
    if (!p.deleted) continue;
    const bool tried = std::any_of(order.begin(), order.end(), [&](const auto& k) { return k.first == p.driverName; });
    const bool listed = std::any_of(o.drivers.begin(), o.drivers.end(), [&](const DriverOutcome& d) { return d.name == p.driverName; });
    if (tried || listed) continue;
    DriverOutcome d;
    d.name = p.driverName;
    d.outcome = L"kept: used by a printer that stays";
    o.drivers.push_back(std::move(d));
  }
  for (const auto& f : engine.forms()) {
    FormOutcome fo;
    fo.name = f.formName;
    bool tried = false;
    for (const auto& e : o.effects) {
      if (e.what != L"spooler.DeleteForm" || e.target != f.formName) continue;
      tried = true;
      fo.status = e.status;
    }
    if (tried && fo.status == os::error::kSuccess) fo.outcome = L"deleted";
    else if (tried) fo.outcome = L"kept: the spooler refused";
    else if (f.flags == os::spool::kFormBuiltin) fo.outcome = L"kept: built in";
    else if (!f.deletable) fo.outcome = L"kept: named by a printer that stays";
    else fo.outcome = L"not tried: no local printer was deleted";
    o.forms.push_back(std::move(fo));
  }
  // The same leftover may be tried more than once (a watermark file shared
  // by several drivers, then the sweep): what counts is the last attempt.
  std::set<std::pair<std::wstring, std::wstring>> later;
  for (auto e = o.effects.rbegin(); e != o.effects.rend(); ++e) {
    if (later.insert({e->what, e->target}).second && LeftoverFailed(*e)) o.leftoversFailed.push_back(*e);
  }
  std::reverse(o.leftoversFailed.begin(), o.leftoversFailed.end());
  o.failures += static_cast<int>(o.leftoversFailed.size());
  for (const auto& e : o.effects) {
    if (e.status != os::error::kSuccess && !o.messages.count(e.status)) {
      o.messages[e.status] = system.environment.DescribeError(e.status);
    }
  }
  return o;
}

// "delete file C:\...": what the effect does, in words.
std::wstring Action(const os::record::Effect& e) {
  static const std::map<std::wstring, std::wstring> verbs = {
      {L"files.Delete", L"delete file"},
      {L"files.RemoveFolder", L"remove folder"},
      {L"files.SetAttributes", L"clear attributes of"},
      {L"registry.DeleteTree", L"delete registry key"},
      {L"registry.DeleteValue", L"delete registry value"},
      {L"services.Stop", L"stop service"},
      {L"services.Start", L"start service"},
      {L"processes.Terminate", L"end process"},
      {L"spooler.DeleteForm", L"delete form"},
      {L"spooler.DeletePrinter", L"delete printer"},
      {L"spooler.DeleteConnection", L"delete connection"},
      {L"spooler.DeleteDriver", L"delete driver"},
      {L"spooler.DeleteDriverPackage", L"delete driver package"}};
  auto it = verbs.find(e.what);
  return (it == verbs.end() ? e.what : it->second) + L" " + e.target;
}

// A plan's line for the effect, with what the system would answer.
std::wstring Describe(const os::record::Effect& e) {
  std::wstring line = Action(e);
  // Most sweeps look for what is usually not there: that is no failure.
  if (e.status == os::error::kFileNotFound || e.status == os::error::kPathNotFound) line += L" (not there)";
  else if (e.what == L"spooler.DeleteDriver" && NotInstalled(e.status)) line += L" (not installed)";
  else if (e.status != 0) line += L" (would fail: " + std::to_wstring(e.status) + L")";
  return line;
}

class Session {
 public:
  Session(const std::vector<std::wstring>& arguments, os::System& system, Output& out, const Host& host)
      : system_(system), out_(out), host_(host) {
    header_.toolVersion = host.toolVersion;
    header_.machineName = host.machineName;
    header_.started = host.utcNow ? host.utcNow() : std::string();
    header_.arguments = arguments;
  }

  int Run(const std::vector<std::wstring>& arguments) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.ok) {
      Fail(parsed.error);
      out_.Error(L"TessalyCmd /? shows how it is used.");
      return kExitUsage;
    }
    request_ = &parsed.request;
    const Request& r = parsed.request;
    if (r.command == Command::Help) {
      out_.Line(UsageText());
      return kExitDone;
    }
    int exitCode = kExitNotDone;
    try {
      exitCode = Execute(r);
    } catch (const std::bad_alloc&) {
      // The engine keeps its own faults inside the run; what escapes is the
      // program's own failure, and the report still says so.
      Fail(L"The run broke off: not enough memory.");
    } catch (const std::exception& e) {
      Fail(L"The run broke off: " + base::Utf8ToWide(e.what()));
    }
    return Finish(exitCode);
  }

 private:
  int Execute(const Request& r) {
    if (!app::MayAdministerServices(system_.services)) {
      Fail(L"Not permitted: the service database cannot be locked. Run TessalyCmd elevated, as an administrator.");
      return kExitNotPermitted;
    }
    const bool run = r.command == Command::Delete || r.command == Command::All;
    prompts_ = std::make_unique<ConsolePrompts>(out_, r.deleteSharedDrivers, r.quiet);
    withPrompts_ = std::make_unique<os::System>(os::System{system_.registry, system_.spooler, system_.services,
                                                           system_.files, system_.processes, system_.environment,
                                                           system_.clock, *prompts_, system_.faults});
    recording_ = std::make_unique<os::record::RecordingSystem>(
        *withPrompts_, run && r.plan ? os::record::Mode::Plan : os::record::Mode::Perform);
    os::System& sys = recording_->system();
    sys.faults.InstallTranslatorOnThisThread();
    sysaccess::SystemAccess access(sys);
    ConsolePort port(out_, r.quiet, r.plan);
    res::EnglishTexts texts;
    engine::DeletionEngine engine(access, port, texts);
    engine.RefillPrinterList();
    const auto table = engine.printers();

    if (r.command == Command::List) {
      ListPrinters(table, sys, r.json, out_);
      return kExitDone;
    }

    std::vector<std::wstring> known;
    for (const auto& p : table) known.push_back(p.printerName);
    std::vector<std::wstring> chosen = known;
    if (r.command == Command::Delete) {
      chosen.clear();
      std::vector<std::wstring> unknown;
      for (const auto& name : r.printerNames) {
        if (std::find(known.begin(), known.end(), name) == known.end()) unknown.push_back(name);
        else if (std::find(chosen.begin(), chosen.end(), name) == chosen.end()) chosen.push_back(name);
      }
      if (!unknown.empty()) {
        Fail(L"Unknown printer: " + Join(unknown) + L". Names are compared exactly.");
        out_.Error(known.empty() ? L"No printers are installed." : L"Installed printers: " + Join(known));
        return kExitUsage;
      }
    }
    if (!r.plan && !r.yes) {
      Fail(L"A real run needs /yes. /plan shows what would be done, and changes nothing.");
      return kExitUsage;
    }
    std::vector<std::wstring> withJobs;
    if (engine.FindPrintersWithJobs(withJobs)) {
      Fail(L"Refused: these printers have queued jobs: " + Join(withJobs) + L". Nothing was deleted.");
      return kExitJobsQueued;
    }

    if (r.command == Command::All) port.ChooseAll();
    else port.Choose(chosen);
    engine.RunDeletion();
    ran_ = true;
    outcome_ = Outcome(engine, table, chosen, port, *prompts_, *recording_, access.os(), system_);
    Progress(r);
    return outcome_.failures ? kExitNotDone : kExitDone;
  }

  void Progress(const Request& r) {
    const bool plan = r.plan;
    int deleted = 0, kept = 0, drivers = 0;
    for (const auto& p : outcome_.printers) {
      if (p.deleted) ++deleted;
      else if (p.chosen) ++kept;
      if (!p.deleted && p.chosen) {
        const std::wstring line = L"Kept printer " + p.name + L": " + p.outcome.substr(6) +
                                  (p.status ? L" (" + std::to_wstring(p.status) + L" " + p.message + L")" : L"");
        if (p.status) out_.Error(line);
        else if (!r.quiet) out_.Line(line);
      }
    }
    for (const auto& d : outcome_.drivers) {
      if (d.outcome == L"deleted") ++drivers;
      std::wstring line = L"Driver " + d.name + (d.environment.empty() ? L"" : L" (" + d.environment + L")") + L": " +
                          (plan && d.outcome == L"deleted" ? L"would be deleted" : d.outcome);
      if (d.status) {
        out_.Error(line + L" (" + std::to_wstring(d.status) + L" " + d.message + L")");
      } else if (!r.quiet && d.outcome != L"not installed") {
        out_.Line(line);
      }
    }
    for (const auto& e : outcome_.leftoversFailed) {
      out_.Error(std::wstring(plan ? L"Would fail: " : L"Failed: ") + Action(e) + L" (" + std::to_wstring(e.status) +
                 L" " + outcome_.messages[e.status] + L")");
    }
    if (plan && !r.quiet) {
      out_.Line(L"Plan, in order:");
      for (const auto& e : outcome_.effects) out_.Line(L"  " + Describe(e));
    }
    std::wstring summary = plan ? L"Plan: " + std::to_wstring(deleted) + L" printer(s) would be deleted, "
                                : L"Done: " + std::to_wstring(deleted) + L" printer(s) deleted, ";
    summary += std::to_wstring(kept) + L" kept, " + std::to_wstring(drivers) + L" driver(s) " +
               (plan ? L"would be deleted, " : L"deleted, ") + std::to_wstring(outcome_.failures) + L" failure(s)";
    summary += plan ? L"; nothing was changed." : L".";
    summaryLine_ = summary;
  }

  int Finish(int exitCode) {
    if (!summaryLine_.empty()) out_.Line(summaryLine_);
    if (request_ && !request_->reportPath.empty()) {
      header_.ended = host_.utcNow ? host_.utcNow() : std::string();
      const std::string text = ReportJson(header_, request_, ran_ ? &outcome_ : nullptr, exitCode, errors_);
      if (!WriteReportFile(request_->reportPath, text)) {
        out_.Error(L"The report could not be written to " + request_->reportPath + L".");
        return kExitNotDone;
      }
    }
    return exitCode;
  }

  void Fail(const std::wstring& why) {
    errors_.push_back(why);
    out_.Error(why);
  }

  os::System& system_;
  Output& out_;
  const Host& host_;
  ReportHeader header_;
  const Request* request_ = nullptr;
  std::unique_ptr<ConsolePrompts> prompts_;
  std::unique_ptr<os::System> withPrompts_;
  bool ran_ = false;
  std::unique_ptr<os::record::RecordingSystem> recording_;
  RunOutcome outcome_;
  std::vector<std::wstring> errors_;
  std::wstring summaryLine_;
};

}  // namespace

int RunCommandLine(const std::vector<std::wstring>& arguments, os::System& system, Output& out, const Host& host) {
  Session session(arguments, system, out, host);
  return session.Run(arguments);
}

}  // namespace console
