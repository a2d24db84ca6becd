#include "framework/WorkerThread.h"

#include <process.h>

namespace {

struct Start {
  AFX_THREADPROC proc;
  LPVOID param;
};

unsigned __stdcall ThreadEntry(void* arg) {
  const Start start = *static_cast<Start*>(arg);
  delete static_cast<Start*>(arg);
  return start.proc(start.param);
}

}  // namespace

BOOL AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                    LPSECURITY_ATTRIBUTES security) {
  if (flags & CREATE_SUSPENDED) return FALSE;
  auto* start = new Start{proc, param};
  // _beginthreadex rather than CreateThread: the thread uses the C runtime
  // (wide string functions, exceptions), which must set itself up for it.
  // Created suspended so the priority holds from the first instruction.
  unsigned id = 0;
  const uintptr_t handle = _beginthreadex(security, stackSize, &ThreadEntry, start, CREATE_SUSPENDED, &id);
  if (!handle) {
    delete start;
    return FALSE;
  }
  HANDLE thread = reinterpret_cast<HANDLE>(handle);
  SetThreadPriority(thread, priority);
  ResumeThread(thread);
  CloseHandle(thread);
  return TRUE;
}
