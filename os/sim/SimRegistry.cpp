#include "os/sim/SimRegistry.h"

#include <cstdio>
#include <functional>

#include "base/RegistryText.h"
#include "base/Utf.h"
#include "base/WideText.h"
#include "os/image/MachineImage.h"

namespace os::sim {
namespace {

constexpr std::uint32_t kWriteBits = 0x0002 | 0x0004 | 0x00010000;  // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE

std::vector<std::wstring> SplitPath(std::wstring_view path, bool& badPath) {
  std::vector<std::wstring> parts;
  badPath = false;
  if (!path.empty() && path.front() == L'\\') {
    badPath = true;
    return parts;
  }
  parts = base::Split(path, L'\\');
  // A trailing separator names the same key as the path without it.
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts;
}

void MarkDeleted(SimKey& key) {
  key.deleted = true;
  for (auto& [_, child] : key.subKeys) MarkDeleted(*child);
}

class SimRegistryKey final : public RegistryKey {
 public:
  SimRegistryKey(SimRegistry& registry, std::shared_ptr<SimKey> key, std::uint32_t access, std::wstring label)
      : registry_(registry), key_(std::move(key)), access_(access), label_(std::move(label)) {}

  Result<std::unique_ptr<RegistryKey>> OpenSubKey(std::wstring_view path, std::uint32_t access) override {
    const std::wstring label = label_ + L"\\" + std::wstring(path);
    if (auto e = registry_.gate().Enter(Op::RegistryOpenKey, label)) return Result<std::unique_ptr<RegistryKey>>::Fail(*e);
    if (key_->deleted) return Result<std::unique_ptr<RegistryKey>>::Fail(error::kKeyDeleted);
    Status status = 0;
    auto node = registry_.Walk(key_, path, false, status);
    if (!node) return Result<std::unique_ptr<RegistryKey>>::Fail(status);
    if ((access & kWriteBits) && node->denyWrite) return Result<std::unique_ptr<RegistryKey>>::Fail(error::kAccessDenied);
    return Result<std::unique_ptr<RegistryKey>>::Ok(std::make_unique<SimRegistryKey>(registry_, node, access, label));
  }

  Result<RegistryValue> QueryValue(std::wstring_view name) override {
    using R = Result<RegistryValue>;
    if (auto e = registry_.gate().Enter(Op::RegistryQueryValue, label_ + L":" + std::wstring(name))) return R::Fail(*e);
    if (key_->deleted) return R::Fail(error::kKeyDeleted);
    const RegistryValue* value = key_->values.Find(name);
    if (!value) return R::Fail(error::kFileNotFound);
    return R::Ok(*value);
  }

  Result<std::wstring> EnumKey(std::uint32_t index, std::uint32_t maxChars) override {
    using R = Result<std::wstring>;
    if (auto e = registry_.gate().Enter(Op::RegistryEnumKey, label_)) return R::Fail(*e);
    if (key_->deleted) return R::Fail(error::kKeyDeleted);
    if (index >= key_->subKeys.size()) return R::Fail(error::kNoMoreItems);
    auto it = key_->subKeys.begin();
    std::advance(it, index);
    if (it->second->name.size() + 1 > maxChars) return R::Fail(error::kMoreData);
    return R::Ok(it->second->name);
  }

  Result<std::wstring> EnumValue(std::uint32_t index, std::uint32_t maxChars) override {
    using R = Result<std::wstring>;
    if (auto e = registry_.gate().Enter(Op::RegistryEnumValue, label_)) return R::Fail(*e);
    if (key_->deleted) return R::Fail(error::kKeyDeleted);
    if (index >= key_->values.size()) return R::Fail(error::kNoMoreItems);
    const auto& n = key_->values.at(index).first;
    if (n.size() + 1 > maxChars) return R::Fail(error::kMoreData);
    return R::Ok(n);
  }

  Status DeleteValue(std::wstring_view name) override {
    const std::wstring target = label_ + L":" + std::wstring(name);
    Status status = error::kFileNotFound;
    if (auto e = registry_.gate().Enter(Op::RegistryDeleteValue, target)) {
      status = *e;
    } else if (key_->deleted) {
      status = error::kKeyDeleted;
    } else if (!(access_ & 0x0002) || key_->denyWrite) {
      status = error::kAccessDenied;
    } else {
      if (key_->values.Erase(name)) status = error::kSuccess;
    }
    registry_.gate().RecordEffect(L"registry.DeleteValue", target, status);
    return status;
  }

  Status DeleteTree(std::wstring_view subKey) override {
    const std::wstring label = label_ + L"\\" + std::wstring(subKey);
    if (key_->deleted) {
      registry_.gate().RecordEffect(L"registry.DeleteTree", label, error::kKeyDeleted);
      return error::kKeyDeleted;
    }
    return registry_.DeleteTreeAt(key_, subKey, label);
  }

 private:
  SimRegistry& registry_;
  std::shared_ptr<SimKey> key_;
  std::uint32_t access_;
  std::wstring label_;
};

}  // namespace

const RegistryValue* ValueList::Find(std::wstring_view name) const {
  auto it = index_.find(base::Upcase(name));
  return it == index_.end() ? nullptr : &slots_[it->second].entry.second;
}

void ValueList::Set(std::wstring_view name, RegistryValue value) {
  const std::wstring key = base::Upcase(name);
  if (auto it = index_.find(key); it != index_.end()) {
    slots_[it->second].entry.second = std::move(value);
    return;
  }
  index_.emplace(key, slots_.size());
  slots_.push_back(Slot{Entry{std::wstring(name), std::move(value)}, true});
}

bool ValueList::Erase(std::wstring_view name) {
  auto it = index_.find(base::Upcase(name));
  if (it == index_.end()) return false;
  slots_[it->second].alive = false;
  index_.erase(it);
  if (++holes_ > 32 && holes_ * 2 > slots_.size()) Compact();
  return true;
}

const ValueList::Entry& ValueList::at(std::size_t position) const {
  if (holes_) Compact();
  return slots_.at(position).entry;
}

std::vector<ValueList::Entry> ValueList::Entries() const {
  std::vector<Entry> out;
  for (const auto& s : slots_) {
    if (s.alive) out.push_back(s.entry);
  }
  return out;
}

void ValueList::Compact() const {
  std::erase_if(slots_, [](const Slot& s) { return !s.alive; });
  index_.clear();
  for (std::size_t i = 0; i < slots_.size(); ++i) index_.emplace(base::Upcase(slots_[i].entry.first), i);
  holes_ = 0;
}

SimRegistry::SimRegistry(Gate& gate) : gate_(gate) {
  machine_ = std::make_shared<SimKey>();
  machine_->name = L"HKEY_LOCAL_MACHINE";
  users_ = std::make_shared<SimKey>();
  users_->name = L"HKEY_USERS";
  SetCurrentControlSet(1);
}

void SimRegistry::SetCurrentControlSet(int number) {
  currentControlSet_ = number;
  wchar_t name[32];
  std::swprintf(name, 32, L"ControlSet%03d", number);
  Status status = 0;
  auto system = Walk(machine_, L"SYSTEM", true, status);
  auto& link = system->subKeys[L"CURRENTCONTROLSET"];
  if (!link) {
    link = std::make_shared<SimKey>();
    link->name = L"CurrentControlSet";
    link->parent = system;
  }
  link->linkTarget = std::wstring(L"HKEY_LOCAL_MACHINE\\SYSTEM\\") + name;
  CreateKey(link->linkTarget);
  SetValue(L"HKEY_LOCAL_MACHINE\\SYSTEM\\Select", L"Current",
           RegistryValue{regtype::kDword, {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8), 0, 0}});
}

std::shared_ptr<SimKey> SimRegistry::RootNode(RootKey root) const {
  Status status = 0;
  switch (root) {
    case RootKey::LocalMachine: return machine_;
    case RootKey::Users: return users_;
    case RootKey::CurrentUser: return Walk(users_, userSid_, true, status);
    case RootKey::ClassesRoot: return Walk(machine_, L"SOFTWARE\\Classes", true, status);
  }
  return nullptr;
}

std::shared_ptr<SimKey> SimRegistry::Walk(std::shared_ptr<SimKey> node, std::wstring_view path, bool create,
                                          Status& status) const {
  return WalkChain(std::move(node), path, create, status, 0);
}

std::shared_ptr<SimKey> SimRegistry::WalkChain(std::shared_ptr<SimKey> node, std::wstring_view path, bool create,
                                               Status& status, int linkHops) const {
  bool bad = false;
  const auto parts = SplitPath(path, bad);
  if (bad) {
    status = error::kBadPathname;
    return nullptr;
  }
  for (const auto& part : parts) {
    if (part.empty()) {
      status = error::kFileNotFound;
      return nullptr;
    }
    const std::wstring upper = base::Upcase(part);
    auto it = node->subKeys.find(upper);
    if (it == node->subKeys.end()) {
      if (!create) {
        status = error::kFileNotFound;
        return nullptr;
      }
      auto child = std::make_shared<SimKey>();
      child->name = part;
      child->parent = node;
      it = node->subKeys.emplace(upper, child).first;
    }
    node = it->second;
    if (!node->linkTarget.empty()) {
      // A link whose target is itself a link is followed again, but only so
      // far: a chain that loops back would otherwise never end. The
      // registry then names no key at all.
      if (linkHops >= kMaxLinkHops) {
        status = error::kFileNotFound;
        return nullptr;
      }
      node = ResolveChain(node->linkTarget, true, status, linkHops + 1);
      if (!node) {
        status = error::kFileNotFound;
        return nullptr;
      }
    }
  }
  status = error::kSuccess;
  return node;
}

std::shared_ptr<SimKey> SimRegistry::ResolveFull(std::wstring_view fullPath, bool create) const {
  Status status = 0;
  return ResolveChain(fullPath, create, status, 0);
}

std::shared_ptr<SimKey> SimRegistry::ResolveChain(std::wstring_view fullPath, bool create, Status& status,
                                                  int linkHops) const {
  RootKey root;
  std::wstring rest;
  if (!image::SplitRegistryPath(fullPath, root, rest)) return nullptr;
  return WalkChain(RootNode(root), rest, create, status, linkHops);
}

void SimRegistry::Link(std::wstring_view fullPath, std::wstring_view targetFullPath) {
  const auto cut = fullPath.rfind(L'\\');
  if (cut == std::wstring_view::npos) return;
  auto parent = ResolveFull(fullPath.substr(0, cut), true);
  if (!parent) return;
  const std::wstring name(fullPath.substr(cut + 1));
  auto& link = parent->subKeys[base::Upcase(name)];
  if (!link) {
    link = std::make_shared<SimKey>();
    link->name = name;
    link->parent = parent;
  }
  link->linkTarget = std::wstring(targetFullPath);
}

Result<std::unique_ptr<RegistryKey>> SimRegistry::OpenKey(RootKey root, std::wstring_view path, std::uint32_t access) {
  const std::wstring label = std::wstring(RootKeyName(root)) + L"\\" + std::wstring(path);
  if (auto e = gate_.Enter(Op::RegistryOpenKey, label)) return Result<std::unique_ptr<RegistryKey>>::Fail(*e);
  Status status = 0;
  auto node = Walk(RootNode(root), path, false, status);
  if (!node) return Result<std::unique_ptr<RegistryKey>>::Fail(status);
  if ((access & kWriteBits) && node->denyWrite) return Result<std::unique_ptr<RegistryKey>>::Fail(error::kAccessDenied);
  return Result<std::unique_ptr<RegistryKey>>::Ok(std::make_unique<SimRegistryKey>(*this, node, access, label));
}

Status SimRegistry::DeleteTree(RootKey root, std::wstring_view path) {
  const std::wstring label = std::wstring(RootKeyName(root)) + L"\\" + std::wstring(path);
  return DeleteTreeAt(RootNode(root), path, label);
}

Status SimRegistry::DeleteTreeAt(std::shared_ptr<SimKey> from, std::wstring_view path, const std::wstring& label) {
  Status status = 0;
  if (auto e = gate_.Enter(Op::RegistryDeleteTree, label)) {
    status = *e;
  } else {
    auto node = Walk(from, path, false, status);
    if (node) {
      // Depth first in enumeration order, like SHDeleteKeyW: it opens each
      // key to list its sub-keys, deletes them one by one and then the key,
      // and gives up at the first sub-key that will not go, returning that
      // error. What went before it stays gone; that sub-key, the keys not
      // reached yet and every ancestor (with its values) stay.
      std::function<Status(const std::shared_ptr<SimKey>&)> erase = [&](const std::shared_ptr<SimKey>& key) -> Status {
        std::vector<std::shared_ptr<SimKey>> children;
        for (auto& [_, child] : key->subKeys) children.push_back(child);
        for (auto& child : children) {
          if (const Status s = erase(child); s != error::kSuccess) return s;
        }
        if (key->denyWrite) return error::kAccessDenied;
        auto parent = key->parent.lock();
        if (!parent) return error::kAccessDenied;  // a root
        parent->subKeys.erase(base::Upcase(key->name));
        MarkDeleted(*key);
        return error::kSuccess;
      };
      status = erase(node);
    }
  }
  gate_.RecordEffect(L"registry.DeleteTree", label, status);
  return status;
}

void SimRegistry::CreateKey(std::wstring_view fullPath) { ResolveFull(fullPath, true); }

void SimRegistry::SetValue(std::wstring_view fullPath, std::wstring_view name, RegistryValue value) {
  auto key = ResolveFull(fullPath, true);
  if (!key) return;
  key->values.Set(name, std::move(value));
}

void SimRegistry::SetString(std::wstring_view fullPath, std::wstring_view name, std::wstring_view text,
                            std::uint32_t type) {
  SetValue(fullPath, name, RegistryValue{type, base::EncodeRegistryString(text)});
}

void SimRegistry::SetMultiString(std::wstring_view fullPath, std::wstring_view name,
                                 const std::vector<std::wstring>& strings) {
  SetValue(fullPath, name, RegistryValue{regtype::kMultiString, base::EncodeMultiString(strings)});
}

void SimRegistry::Protect(std::wstring_view fullPath) {
  if (auto key = ResolveFull(fullPath, true)) key->denyWrite = true;
}

bool SimRegistry::KeyExists(std::wstring_view fullPath) const { return ResolveFull(fullPath, false) != nullptr; }

std::optional<RegistryValue> SimRegistry::GetValue(std::wstring_view fullPath, std::wstring_view name) const {
  auto key = ResolveFull(fullPath, false);
  if (!key) return std::nullopt;
  const RegistryValue* value = key->values.Find(name);
  return value ? std::optional<RegistryValue>(*value) : std::nullopt;
}

bool SimRegistry::RemoveKey(std::wstring_view fullPath) {
  auto key = ResolveFull(fullPath, false);
  if (!key) return false;
  auto parent = key->parent.lock();
  if (!parent) return false;
  parent->subKeys.erase(base::Upcase(key->name));
  MarkDeleted(*key);
  return true;
}

bool SimRegistry::RemoveValue(std::wstring_view fullPath, std::wstring_view name) {
  auto key = ResolveFull(fullPath, false);
  if (!key) return false;
  return key->values.Erase(name);
}

void SimRegistry::ForEachKey(const std::function<void(const std::wstring&, const SimKey&)>& visit) const {
  std::function<void(const std::wstring&, const SimKey&)> walk = [&](const std::wstring& path, const SimKey& key) {
    visit(path, key);
    for (const auto& [_, child] : key.subKeys) {
      if (child->linkTarget.empty()) walk(path + L"\\" + child->name, *child);
    }
  };
  for (const auto& [_, child] : machine_->subKeys) walk(L"HKEY_LOCAL_MACHINE\\" + child->name, *child);
  for (const auto& [_, child] : users_->subKeys) walk(L"HKEY_USERS\\" + child->name, *child);
}

}  // namespace os::sim
