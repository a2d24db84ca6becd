#include "os/Registry.h"

namespace os {

const wchar_t* RootKeyName(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return L"HKEY_CLASSES_ROOT";
    case RootKey::CurrentUser: return L"HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return L"HKEY_LOCAL_MACHINE";
    case RootKey::Users: return L"HKEY_USERS";
  }
  return L"?";
}

}  // namespace os
