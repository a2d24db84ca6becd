#pragma once
// The members of every JSON object of a machine image, one table an object.
// The reader takes from these tables what it accepts and the writer what it
// writes, so the two cannot drift apart: a field is named here and nowhere
// else. What each kind of member looks like in JSON is the reader's and the
// writer's business (MachineImageReader.cpp, MachineImageWriter.cpp).
#include <cstdint>
#include <tuple>

#include "os/Files.h"
#include "os/image/MachineImage.h"

namespace os::image::fields {

// The kinds of member.
struct Text {};          // a string
struct Bytes {};         // a string, kept as its UTF-8 bytes
struct BaseName {};      // the name of a built-in image
struct Dword {};         // a whole number below 2^32
struct ControlSet {};    // a whole number from 1 to 999
struct Flag {};          // true or false
struct Texts {};         // an array of strings
struct Version {};       // "major.minor[.build]"
struct Variables {};     // an object of strings, kept in its order
struct Attributes {};    // the names of the bits set, or the number when a bit has no name
struct ServiceState {};  // a name of kStates
struct FormKind {};      // a name of kFormKinds
struct Jobs {};          // the job ids, or how many jobs (numbered from 1)
struct Files {};         // an object of kFileFields objects, named by their full paths
struct RegistryKeys {};  // an object of keys, named by their full paths, each an object of values by name
template <const auto& Table> struct Object {};   // an object of that table
template <const auto& Table> struct Objects {};  // an array of them

// A registry value is a string for REG_SZ text and otherwise an object: its
// type (a name, or the number beside hex data) and its data, in the type's
// own form or as hex digits, the only form some data has.
inline constexpr const char* kValueType = "type";
inline constexpr const char* kValueData = "data";
inline constexpr const char* kValueHex = "hex";

struct Named {
  const char* name;
  std::uint32_t value;
};
inline constexpr Named kAttributes[] = {
    {"readonly", attr::kReadOnly}, {"hidden", attr::kHidden}, {"system", attr::kSystem}, {"archive", attr::kArchive}};
inline constexpr Named kStates[] = {{"stopped", svc::kStopped},     {"start-pending", svc::kStartPending},
                                    {"stop-pending", svc::kStopPending}, {"running", svc::kRunning},
                                    {"paused", svc::kPaused}};
inline constexpr Named kFormKinds[] = {
    {"builtin", spool::kFormBuiltin}, {"user", spool::kFormUser}, {"printer", spool::kFormPrinter}};
inline constexpr Named kRegistryTypes[] = {
    {"REG_SZ", regtype::kString},         {"REG_EXPAND_SZ", regtype::kExpandString}, {"REG_BINARY", regtype::kBinary},
    {"REG_DWORD", regtype::kDword},       {"REG_MULTI_SZ", regtype::kMultiString},  {"REG_QWORD", regtype::kQword},
    {"REG_NONE", regtype::kNone}};

template <typename S, typename T>
S SpecOf(T S::*);
template <typename S, typename T>
T TypeOf(T S::*);

// One member: its JSON name, where it goes and what kind it is. A member is
// left out of a saved image when it is empty (or what its absence reads as)
// unless it is always written.
template <auto Member, typename Kind>
struct Field {
  using Spec = decltype(SpecOf(Member));
  using Type = decltype(TypeOf(Member));

  const char* name;
  const char* missing = nullptr;  // required: the refusal when it is absent
  bool always = false;
  // Read after the others: an image with faults in several members is
  // refused for the same one whatever order the table writes them in.
  bool last = false;
  Type (*otherwise)(const Spec&) = nullptr;      // its value when absent, from the members before it
  const char* (*refuse)(const Spec&) = nullptr;  // why it may not be given, from the members before it
  const char* unique = nullptr;  // no two objects of an array share it (ignoring case): the refusal

  constexpr Field Needed(const char* why) const { Field f = *this; f.missing = why; return f; }
  constexpr Field Always() const { Field f = *this; f.always = true; return f; }
  constexpr Field Last() const { Field f = *this; f.last = true; return f; }
  constexpr Field Otherwise(Type (*fn)(const Spec&)) const { Field f = *this; f.otherwise = fn; return f; }
  constexpr Field Refused(const char* (*fn)(const Spec&)) const { Field f = *this; f.refuse = fn; return f; }
  constexpr Field Unique(const char* why) const { Field f = *this; f.unique = why; return f; }
};

// An object whose members belong to the object around it (the spooler's
// lists are members of the image).
template <const auto& Table>
struct Nested {
  const char* name;
  const char* missing = nullptr;
  bool last = false;
};

template <auto Member, typename Kind>
constexpr Field<Member, Kind> F(const char* name) {
  return {name};
}

inline constexpr std::tuple kWindowsFields{
    F<&WindowsSpec::version, Version>("version"),
    F<&WindowsSpec::windowsDirectory, Text>("windowsDirectory"),
    F<&WindowsSpec::systemDirectory, Text>("systemDirectory"),
    F<&WindowsSpec::languageAbbreviation, Text>("languageAbbreviation"),
    F<&WindowsSpec::modulePath, Text>("modulePath"),
    F<&WindowsSpec::currentDirectory, Text>("currentDirectory"),
    F<&WindowsSpec::userSid, Text>("userSid"),
    F<&WindowsSpec::tickCount, Dword>("tickCount"),
    F<&WindowsSpec::currentControlSet, ControlSet>("currentControlSet"),
    F<&WindowsSpec::variables, Variables>("variables"),
    F<&WindowsSpec::driverPackageExport, Flag>("driverPackageExport"),
    F<&WindowsSpec::spoolerEnvironments, Texts>("spoolerEnvironments"),
};

inline constexpr std::tuple kFileFields{
    F<&FileSpec::folder, Flag>("folder"),
    F<&FileSpec::attributes, Attributes>("attributes").Always().Otherwise([](const FileSpec& f) {
      return f.folder ? 0u : attr::kArchive;
    }),
    F<&FileSpec::content, Bytes>("content").Refused([](const FileSpec& f) {
      return f.folder ? "a folder has no content" : nullptr;
    }),
    F<&FileSpec::locked, Flag>("locked"),
};

inline constexpr std::tuple kDriverFields{
    F<&DriverSpec::name, Text>("name").Needed("a driver needs a name").Always(),
    F<&DriverSpec::environment, Text>("environment").Always(),
    F<&DriverSpec::version, Dword>("version").Always(),
    F<&DriverSpec::driverPath, Text>("driverPath"),
    F<&DriverSpec::dataFile, Text>("dataFile"),
    F<&DriverSpec::configFile, Text>("configFile"),
    F<&DriverSpec::infPath, Text>("infPath"),
    F<&DriverSpec::files, Texts>("files"),
};

inline constexpr std::tuple kPrinterFields{
    F<&PrinterSpec::name, Text>("name").Needed("a printer needs a name").Always().Unique(
        "a printer of this name is listed already"),
    F<&PrinterSpec::driverName, Text>("driver").Needed("a printer needs a driver").Always(),
    F<&PrinterSpec::serverName, Text>("server"),
    F<&PrinterSpec::shareName, Text>("share"),
    F<&PrinterSpec::portName, Text>("port").Always(),
    F<&PrinterSpec::jobs, Jobs>("jobs").Last(),
    F<&PrinterSpec::hardwareId, Text>("hardwareId"),
    F<&PrinterSpec::media, Texts>("media"),
};

inline constexpr std::tuple kFormFields{
    F<&FormSpec::name, Text>("name").Needed("a form needs a name").Always(),
    F<&FormSpec::flags, FormKind>("kind").Always(),
};

inline constexpr std::tuple kSpoolerFields{
    F<&MachineImage::drivers, Objects<kDriverFields>>("drivers"),
    F<&MachineImage::printers, Objects<kPrinterFields>>("printers"),
    F<&MachineImage::forms, Objects<kFormFields>>("forms"),
    F<&MachineImage::packages, Texts>("packages"),
};

inline constexpr std::tuple kServiceFields{
    F<&ServiceSpec::name, Text>("name").Needed("a service needs a name").Always(),
    F<&ServiceSpec::displayName, Text>("displayName").Otherwise([](const ServiceSpec& s) { return s.name; }),
    F<&ServiceSpec::state, ServiceState>("state").Always(),
    F<&ServiceSpec::dependsOn, Texts>("dependsOn"),
    F<&ServiceSpec::stopDelayMs, Dword>("stopDelayMs"),
    F<&ServiceSpec::startDelayMs, Dword>("startDelayMs"),
    F<&ServiceSpec::answerDelayMs, Dword>("answerDelayMs"),
    F<&ServiceSpec::hangsStopping, Flag>("hangsStopping").Last(),
    F<&ServiceSpec::hangsStarting, Flag>("hangsStarting").Last(),
    F<&ServiceSpec::stopError, Dword>("stopError"),
    F<&ServiceSpec::startError, Dword>("startError"),
};

inline constexpr std::tuple kServiceDatabaseFields{
    F<&ServiceDatabaseSpec::managerAccessDenied, Flag>("managerAccessDenied"),
    F<&ServiceDatabaseSpec::lockedByOther, Flag>("lockedByOther"),
    F<&ServiceDatabaseSpec::lockDenied, Flag>("lockDenied"),
};

inline constexpr std::tuple kProcessFields{
    F<&ProcessSpec::processId, Dword>("pid").Needed("a process needs a pid and a name").Always(),
    F<&ProcessSpec::exeFile, Text>("name").Needed("a process needs a pid and a name").Always(),
    F<&ProcessSpec::protectedProcess, Flag>("protected"),
};

inline constexpr std::tuple kMachineFields{
    F<&MachineImage::base, BaseName>("base"),
    F<&MachineImage::windows, Object<kWindowsFields>>("windows"),
    F<&MachineImage::registry, RegistryKeys>("registry"),
    F<&MachineImage::protectedKeys, Texts>("protectedKeys"),
    F<&MachineImage::files, Files>("files"),
    Nested<kSpoolerFields>{"spooler"},
    F<&MachineImage::services, Objects<kServiceFields>>("services"),
    F<&MachineImage::serviceDatabase, Object<kServiceDatabaseFields>>("serviceDatabase"),
    F<&MachineImage::processes, Objects<kProcessFields>>("processes"),
};

}  // namespace os::image::fields
