#include "console/Report.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "base/Utf.h"

namespace console {
namespace {

using nlohmann::ordered_json;

std::string U8(const std::wstring& text) { return JsonText(text); }

ordered_json Strings(const std::vector<std::wstring>& texts) {
  ordered_json out = ordered_json::array();
  for (const auto& t : texts) out.push_back(U8(t));
  return out;
}

const char* CommandName(Command c) {
  switch (c) {
    case Command::List: return "list";
    case Command::Delete: return "delete";
    case Command::All: return "all";
    case Command::Help: break;
  }
  return "help";
}

// The effect's kind of object and action, for the grouped lists.
struct Kind {
  const char* list;
  const char* action;
};

Kind KindOf(const std::wstring& what) {
  if (what == L"files.Delete") return {"files", "delete"};
  if (what == L"files.RemoveFolder") return {"files", "remove folder"};
  if (what == L"files.SetAttributes") return {"files", "set attributes"};
  if (what == L"registry.DeleteTree") return {"registry", "delete key"};
  if (what == L"registry.DeleteValue") return {"registry", "delete value"};
  if (what == L"services.Stop") return {"services", "stop"};
  if (what == L"services.Start") return {"services", "start"};
  if (what == L"processes.Terminate") return {"processes", "terminate"};
  if (what == L"spooler.DeleteForm") return {"formDeletions", "delete"};
  return {"spooler", "delete"};
}

std::wstring MessageFor(const RunOutcome& outcome, os::Status status) {
  auto it = outcome.messages.find(status);
  return it == outcome.messages.end() ? std::wstring() : it->second;
}

}  // namespace

std::string JsonText(const std::wstring& text) {
  // A Windows name may hold a lone surrogate, which no UTF-8 can carry: the
  // conversion writes it as one U+FFFD, as the name would show in a console.
  return base::WideToUtf8(text);
}

std::string ReportJson(const ReportHeader& header, const Request* request, const RunOutcome* outcome, int exitCode,
                       const std::vector<std::wstring>& errors) {
  ordered_json report;
  report["tool"] = "TessalyCmd";
  report["version"] = U8(header.toolVersion);
  report["machine"] = U8(header.machineName);
  report["started"] = header.started;
  report["ended"] = header.ended;
  ordered_json req;
  req["arguments"] = Strings(header.arguments);
  if (request) {
    req["command"] = CommandName(request->command);
    req["printers"] = Strings(request->printerNames);
    req["shared"] = request->deleteSharedDrivers ? "delete" : "keep";
    req["plan"] = request->plan;
    req["quiet"] = request->quiet;
    req["yes"] = request->yes;
  }
  report["request"] = req;
  report["mode"] = outcome ? (outcome->planned ? "plan" : "run") : "none";

  ordered_json printers = ordered_json::array();
  ordered_json drivers = ordered_json::array();
  ordered_json answers = ordered_json::array();
  ordered_json forms = ordered_json::array();
  ordered_json effects = ordered_json::array();
  ordered_json grouped;
  for (const char* list : {"formDeletions", "files", "registry", "services", "processes", "spooler"}) {
    grouped[list] = ordered_json::array();
  }
  if (outcome) {
    for (const auto& p : outcome->printers) {
      ordered_json j;
      j["name"] = U8(p.name);
      j["type"] = p.serverName.empty() ? "local" : "connection";
      if (!p.serverName.empty()) j["server"] = U8(p.serverName);
      j["driver"] = U8(p.driverName);
      j["chosen"] = p.chosen;
      j["deleted"] = p.deleted;
      j["outcome"] = U8(p.outcome);
      if (p.status) {
        j["status"] = p.status;
        j["message"] = U8(p.message);
      }
      printers.push_back(j);
    }
    for (const auto& d : outcome->drivers) {
      ordered_json j;
      j["name"] = U8(d.name);
      j["environment"] = U8(d.environment);
      j["outcome"] = U8(d.outcome);
      if (d.status) {
        j["status"] = d.status;
        j["message"] = U8(d.message);
      }
      drivers.push_back(j);
    }
    for (const auto& f : outcome->forms) {
      ordered_json j;
      j["name"] = U8(f.name);
      j["outcome"] = U8(f.outcome);
      if (f.status) {
        j["status"] = f.status;
        j["message"] = U8(MessageFor(*outcome, f.status));
      }
      forms.push_back(j);
    }
    for (const auto& a : outcome->answers) {
      ordered_json j;
      j["kind"] = a.question ? "question" : "notice";
      j["text"] = U8(a.text);
      j["answer"] = a.answer == 6 ? "Yes" : a.answer == 7 ? "No" : "OK";
      answers.push_back(j);
    }
    for (const auto& e : outcome->effects) {
      effects.push_back(U8(e.Line()));
      const Kind kind = KindOf(e.what);
      ordered_json j;
      j["action"] = kind.action;
      j["target"] = U8(e.target);
      j["status"] = e.status;
      if (e.status) j["message"] = U8(MessageFor(*outcome, e.status));
      grouped[kind.list].push_back(j);
    }
  }
  report["printers"] = printers;
  report["drivers"] = drivers;
  report["forms"] = forms;
  for (auto& [list, items] : grouped.items()) report[list] = items;
  report["answers"] = answers;
  report["effects"] = effects;
  report["errors"] = Strings(errors);
  report["exitCode"] = exitCode;
  // Whatever else slips through is replaced, rather than losing the report.
  return report.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

bool WriteReportFile(const std::wstring& path, const std::string& text) {
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file << text;
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace console
