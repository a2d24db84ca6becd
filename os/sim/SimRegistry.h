#pragma once
// The simulated registry: a tree of keys with case-insensitive,
// case-preserving names. Sub-keys enumerate in the order Windows lists them
// (by upper-cased name), values in the order they were written. A deleted
// key stays reachable through handles opened on it, which then fail with
// ERROR_KEY_DELETED, as on Windows.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "os/Registry.h"
#include "os/sim/Gate.h"

namespace os::sim {

// A key's values in the order they were written (the order Windows lists
// them in), found by name ignoring case without a search through them all.
class ValueList {
 public:
  using Entry = std::pair<std::wstring, RegistryValue>;

  const RegistryValue* Find(std::wstring_view name) const;
  void Set(std::wstring_view name, RegistryValue value);  // replaces or appends
  bool Erase(std::wstring_view name);
  std::size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }
  // The value at a position of the enumeration.
  const Entry& at(std::size_t position) const;
  std::vector<Entry> Entries() const;

 private:
  struct Slot {
    Entry entry;
    bool alive;
  };
  void Compact() const;

  // Erased values leave a hole until enough have gone to make closing them up
  // pay off, so a run of deletions costs the same per value.
  mutable std::vector<Slot> slots_;
  mutable std::unordered_map<std::wstring, std::size_t> index_;  // upper-cased name to slot
  mutable std::size_t holes_ = 0;
};

struct SimKey {
  std::wstring name;
  std::weak_ptr<SimKey> parent;
  std::map<std::wstring, std::shared_ptr<SimKey>> subKeys;  // by upper-cased name
  ValueList values;
  bool deleted = false;
  bool denyWrite = false;  // opening for write and deleting are refused (ERROR_ACCESS_DENIED)
  std::wstring linkTarget;  // a symbolic link: the full path of the key it stands for
};

class SimRegistry final : public Registry {
 public:
  explicit SimRegistry(Gate& gate);

  // os::Registry
  Result<std::unique_ptr<RegistryKey>> OpenKey(RootKey root, std::wstring_view path, std::uint32_t access) override;
  Status DeleteTree(RootKey root, std::wstring_view path) override;

  // Model access for images, tests and the simulated spooler. Paths are full
  // ("HKEY_LOCAL_MACHINE\SOFTWARE\..." or "HKLM\SOFTWARE\...").
  void SetUserSid(std::wstring sid) { userSid_ = std::move(sid); }
  const std::wstring& userSid() const { return userSid_; }
  void SetCurrentControlSet(int number);
  int currentControlSet() const { return currentControlSet_; }

  void CreateKey(std::wstring_view fullPath);
  void SetValue(std::wstring_view fullPath, std::wstring_view name, RegistryValue value);
  void SetString(std::wstring_view fullPath, std::wstring_view name, std::wstring_view text,
                 std::uint32_t type = regtype::kString);
  void SetMultiString(std::wstring_view fullPath, std::wstring_view name, const std::vector<std::wstring>& strings);
  void Protect(std::wstring_view fullPath);
  // Makes fullPath a symbolic link to another key's full path (the target
  // need not exist; it may itself be a link).
  void Link(std::wstring_view fullPath, std::wstring_view targetFullPath);
  // How many links in a row a path may pass through before it names no key
  // (ERROR_FILE_NOT_FOUND), as the registry refuses an endless chain.
  static constexpr int kMaxLinkHops = 16;
  bool KeyExists(std::wstring_view fullPath) const;
  std::optional<RegistryValue> GetValue(std::wstring_view fullPath, std::wstring_view name) const;
  // Model changes: no gate, no journal.
  bool RemoveKey(std::wstring_view fullPath);
  bool RemoveValue(std::wstring_view fullPath, std::wstring_view name);
  // Every key that is not a link, depth first in enumeration order, with its
  // full path ("HKEY_LOCAL_MACHINE\...").
  void ForEachKey(const std::function<void(const std::wstring& fullPath, const SimKey& key)>& visit) const;

  // Internal helpers shared with the key handle.
  std::shared_ptr<SimKey> Walk(std::shared_ptr<SimKey> from, std::wstring_view path, bool create, Status& status) const;
  Status DeleteTreeAt(std::shared_ptr<SimKey> from, std::wstring_view path, const std::wstring& label);
  std::shared_ptr<SimKey> RootNode(RootKey root) const;
  Gate& gate() { return gate_; }

 private:
  std::shared_ptr<SimKey> ResolveFull(std::wstring_view fullPath, bool create) const;
  std::shared_ptr<SimKey> ResolveChain(std::wstring_view fullPath, bool create, Status& status, int linkHops) const;
  std::shared_ptr<SimKey> WalkChain(std::shared_ptr<SimKey> from, std::wstring_view path, bool create, Status& status,
                                    int linkHops) const;

  Gate& gate_;
  std::shared_ptr<SimKey> machine_;  // HKEY_LOCAL_MACHINE
  std::shared_ptr<SimKey> users_;    // HKEY_USERS
  std::wstring userSid_ = L"S-1-5-21-1004336348-1177238915-682003330-1001";
  int currentControlSet_ = 1;
};

}  // namespace os::sim
