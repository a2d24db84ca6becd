#pragma once
// Creates the state a machine image describes on a real Windows system (in
// practice a Wine prefix) through the real APIs: registry keys and values of
// each type, files with attributes, printer drivers (their files put in the
// spooler's driver directory first), printers on the "FILE:" port, forms,
// environment variables of this process, services (our test service,
// installed with the image's dependencies) and processes (our idle program
// run under the image's name). The two helper programs are looked for beside
// the running program. What a real system cannot be told to be (a connection
// to another server, queued jobs, a locked service database, a service that
// hangs or refuses, a process that cannot be ended) is refused with a
// SeedError naming it.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "os/image/MachineImage.h"
#include "os/win32/ScopedHandle.h"

namespace seed {

class SeedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Seeder {
 public:
  // With undo, the destructor removes what Apply created and restores what it
  // changed, newest first: tests share one prefix.
  explicit Seeder(bool undoOnDestruction) : undo_(undoOnDestruction) {}
  ~Seeder();
  Seeder(const Seeder&) = delete;
  Seeder& operator=(const Seeder&) = delete;

  void Apply(const os::image::MachineImage& image);
  const std::vector<std::string>& log() const { return log_; }

 private:
  void SeedValue(const std::wstring& keyPath, const std::wstring& name, const os::RegistryValue& value);
  void SeedKey(const std::wstring& keyPath);
  void SeedFolder(const std::wstring& path);
  void SeedFile(const os::image::FileSpec& file);
  void SeedDriver(const os::image::DriverSpec& driver);
  void SeedPrinter(const os::image::PrinterSpec& printer);
  void SeedForm(const os::image::FormSpec& form);
  void SeedVariable(const std::wstring& name, const std::wstring& value);
  void SeedService(const os::image::ServiceSpec& service);
  void SeedProcess(const os::image::ProcessSpec& process);
  void Note(const std::string& line) { log_.push_back(line); }
  void OnUndo(std::function<void()> step) { undoSteps_.push_back(std::move(step)); }

  bool undo_;
  std::vector<std::function<void()>> undoSteps_;
  std::vector<os::win32::ScopedKernelObject> heldFiles_;
  std::vector<std::string> log_;
};

}  // namespace seed
