#pragma once
// The write side of the local spooler. Every operation goes on after a failed
// call and reports nothing to the user; what the spooler refuses stays.
#include <cstdint>
#include <string_view>
#include <vector>

#include "sysaccess/PrinterRecord.h"
#include "sysaccess/SystemAccess.h"

namespace sysaccess {

// The spooler environments, in the order every driver deletion walks them.
inline constexpr const wchar_t* kEnvironments[] = {L"Windows NT x86", L"Windows x64"};

// Open with full access, DeletePrinter under the fault guard, close. 0 when
// the printer is deleted; otherwise the spooler's error (of the open or of the
// deletion) or the fault's code.
std::uint32_t DeletePrinterByName(SystemAccess& sys, std::wstring_view printerName);

// DeletePrinterConnectionW under the fault guard: its error code, or the fault's.
std::uint32_t DeletePrinterConnectionByName(SystemAccess& sys, std::wstring_view printerName);

// The driver for both environments (with DPD_DELETE_UNUSED_FILES) and, from
// Windows Vista on, its driver package after each successful deletion. The
// status of the last environment tried, 1797 (not installed there) counting
// as success. keptSomewhere, when given, is set when any environment's attempt
// failed otherwise: the spooler may still have the driver there.
std::uint32_t DeleteDriverEverywhere(SystemAccess& sys, std::wstring_view driverName, bool* keptSomewhere = nullptr);

// Every installed driver of both environments, each tried for both. Returns 0.
std::uint32_t DeleteAllDrivers(SystemAccess& sys);

// Through a handle on the printer: every deletable, non-built-in form of the
// table loses its registry traces and is deleted. True when the printer could
// be opened, so that every such form was put to the spooler.
bool DeleteUnusedForms(SystemAccess& sys, std::wstring_view printerName, const std::vector<FormRecord>& forms);

// The same for every form of the list, without condition.
void DeleteEveryForm(SystemAccess& sys, std::wstring_view printerName, const std::vector<FormRecord>& forms);

}  // namespace sysaccess
