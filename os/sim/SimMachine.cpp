#include "os/sim/SimMachine.h"

#include <fstream>
#include <sstream>

#include "base/Utf.h"
#include "base/WideText.h"

namespace os::sim {

SimMachine::SimMachine()
    : registry_(gate_),
      files_(gate_),
      clock_(gate_),
      services_(gate_, clock_),
      spooler_(gate_, registry_, files_),
      processes_(gate_),
      environment_(gate_),
      prompts_(gate_) {
  // The spooler is only reachable while its service runs, and a restart makes
  // it reread what the registry still holds.
  spooler_.SetRunningCheck([this] {
    return services_.Find(L"Spooler") == nullptr || services_.StateOf(L"Spooler") == svc::kRunning;
  });
  services_.OnStarted([this](const std::wstring& name) {
    if (base::EqualsIgnoreCase(name, L"Spooler")) spooler_.OnServiceStarted();
  });
}

std::unique_ptr<SimMachine> SimMachine::FromImage(const std::string& json, const std::string& source) {
  auto machine = std::make_unique<SimMachine>();
  machine->Apply(json, source);
  return machine;
}

std::unique_ptr<SimMachine> SimMachine::FromImageFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImageError(path + ": cannot be opened");
  std::stringstream text;
  text << in.rdbuf();
  return FromImage(text.str(), path);
}

System SimMachine::system() {
  return System{registry_, spooler_, services_, files_, processes_, environment_, clock_, prompts_, faults_};
}

std::string SimMachine::Dump() const {
  std::string out = "-- machine image --\n" + SaveImage() + "\n-- journal --\n";
  for (const auto& line : gate_.journal()) out += base::WideToUtf8(line) + "\n";
  out += "-- message boxes --\n";
  for (const auto& p : prompts_.log()) {
    out.append("[").append(base::WideToUtf8(p.caption)).append("] ").append(base::WideToUtf8(p.text));
    out.append(" -> ").append(std::to_string(p.answer));
    if (p.unexpected) out.append(" (UNEXPECTED: no answer was scripted)");
    out.append("\n");
  }
  return out;
}

}  // namespace os::sim
