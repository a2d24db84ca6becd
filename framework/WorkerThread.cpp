#include "framework/WorkerThread.h"

#include <process.h>

CWinThread::~CWinThread() {
  if (m_hThread) CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
  // _beginthreadex rather than CreateThread: the thread uses the C runtime
  // (wide string functions, exceptions), which must set itself up for it.
  unsigned id = 0;
  const uintptr_t handle = _beginthreadex(security, stackSize, &CWinThread::ThreadEntry, this,
                                          static_cast<unsigned>(flags & CREATE_SUSPENDED), &id);
  if (!handle) return FALSE;
  m_hThread = reinterpret_cast<HANDLE>(handle);
  m_nThreadID = id;
  return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* self) {
  auto* thread = static_cast<CWinThread*>(self);
  // Read before the work, never after: an owner that keeps the object may
  // delete it as soon as the work has reported its end.
  const bool autoDelete = thread->m_bAutoDelete != FALSE;
  const UINT code = thread->m_pfnThreadProc(thread->m_pThreadParams);
  if (autoDelete) delete thread;
  return code;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security) {
  auto* thread = new CWinThread(proc, param);
  // Created suspended in any case, so the priority holds from the first
  // instruction and the object exists before its thread can delete it.
  if (!thread->CreateThread(CREATE_SUSPENDED, stackSize, security)) {
    delete thread;
    return nullptr;
  }
  thread->SetThreadPriority(priority);
  if (!(flags & CREATE_SUSPENDED)) thread->ResumeThread();
  return thread;
}
