#pragma once
// The simulated machine's operations, each named once. Injections, call
// counts and faults name an operation by this type, so a misspelt one does
// not compile instead of silently matching nothing.
#include <string_view>

namespace os::sim {

// X(Area, Call) for every operation the gate sees.
#define TESSALY_SIM_OPERATIONS(X) \
  X(Clock, Sleep) X(Clock, TickCount) \
  X(Environment, ExpandVariables) X(Environment, ModulePath) X(Environment, SystemDirectory) X(Environment, SystemLanguage) X(Environment, Version) X(Environment, WindowsDirectory) \
  X(Files, Delete) X(Files, Find) X(Files, GetAttributes) X(Files, OpenText) X(Files, RemoveFolder) X(Files, SetAttributes) \
  X(Processes, Snapshot) X(Processes, Terminate) \
  X(Prompts, Show) \
  X(Registry, DeleteTree) X(Registry, DeleteValue) X(Registry, EnumKey) X(Registry, EnumValue) X(Registry, OpenKey) X(Registry, QueryValue) \
  X(Services, Control) X(Services, EnumDependents) X(Services, LockDatabase) X(Services, Open) X(Services, OpenManager) X(Services, QueryState) X(Services, Start) \
  X(Spooler, DeleteConnection) X(Spooler, DeleteDriver) X(Spooler, DeleteDriverPackage) X(Spooler, DeletePrinter) X(Spooler, Drivers) X(Spooler, Forms) X(Spooler, Jobs) X(Spooler, Open) X(Spooler, Printers) X(Spooler, RemoveForm)

enum class Op {
#define TESSALY_SIM_OPERATION_ENUM(area, call) area##call,
  TESSALY_SIM_OPERATIONS(TESSALY_SIM_OPERATION_ENUM)
#undef TESSALY_SIM_OPERATION_ENUM
};

// "Spooler.DeletePrinter": the name dumps, fault lines and the soak's
// replay instructions print.
constexpr std::string_view NameOf(Op op) {
  switch (op) {
#define TESSALY_SIM_OPERATION_NAME(area, call) \
  case Op::area##call: return #area "." #call;
    TESSALY_SIM_OPERATIONS(TESSALY_SIM_OPERATION_NAME)
#undef TESSALY_SIM_OPERATION_NAME
  }
  return "?";
}

}  // namespace os::sim
