#pragma once
// Starts a worker thread. The thread is not tracked: it ends on its own and
// its handle is closed at once.
#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID param);

// TRUE when the thread was created. CREATE_SUSPENDED in flags is refused:
// nobody keeps the thread's handle to resume it.
BOOL AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                    DWORD flags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
