// tessaly-idle: a process that does nothing until it is ended. The Windows
// tests copy it under the names of processes a machine image lists.
#include <windows.h>

int main() {
  Sleep(INFINITE);
  return 0;
}
