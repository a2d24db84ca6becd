#pragma once
// The fault guard: a spooler call that raises a structured exception (an
// access violation inside the spooler library) must not end the process. On a
// thread that installed the translator the fault arrives as a thrown CSE; the
// guard turns it into the operation's status and the operation goes on as if
// the call had returned. On a thread without the translator a fault still
// ends the process, as it does on Windows.
#include <utility>

#include "os/Faults.h"
#include "os/Status.h"

namespace sysaccess {

// Runs call(), which returns the status of the guarded attempt; a fault
// inside it gives the fault's exception code instead.
template <class Call>
os::Status RunFaultGuarded(Call&& call) {
  try {
    return std::forward<Call>(call)();
  } catch (const os::CSE& fault) {
    return fault.code();
  }
}

}  // namespace sysaccess
