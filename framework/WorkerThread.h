#pragma once
// A worker thread and the object that stands for it, after the framework's
// CWinThread: the object keeps the thread's handle open, so its owner can
// wait for the thread to end. By default the object deletes itself when its
// thread ends; an owner that wants to wait clears m_bAutoDelete while the
// thread is still suspended, resumes it, and deletes the object itself once
// m_hThread is signalled (or before, when it no longer needs the handle).
#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID param);

class CWinThread {
 public:
  CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
  ~CWinThread();
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;

 private:
  static unsigned __stdcall ThreadEntry(void* self);

  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;
};

// The running thread's object, or null when the thread could not be made.
// With CREATE_SUSPENDED in flags the thread waits for ResumeThread.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
