// registry.cpp: factory maps keyed by class name and by class name + id.
#include "runtime/registry.h"

#include <cstring>

bool CGUI_WindowFactory::GetClassName(std::string& out) { out = className_; return true; }
bool CGUI_WindowFactory::GetId(std::string& out) { out = id_; return true; }

CGUI_ClassRegistry::~CGUI_ClassRegistry() {
  for (auto& entry : byId_) delete entry.second;
  for (auto& entry : byClass_) delete entry.second;
}

bool CGUI_ClassRegistry::Register(FactoryMap& map,
                                  const std::string& key, CGUI_WindowFactory* factory,
                                  bool replace) {
  auto it = map.find(key);
  if (it != map.end()) {
    if (!replace) return false;
    if (it->second != factory) delete it->second;
    map.erase(it);
  }
  map.emplace(key, factory);
  return true;
}

bool CGUI_ClassRegistry::RegisterClass(CGUI_WindowFactory* factory, bool replace) {
  return Register(byClass_, factory->ClassName(), factory, replace);
}

bool CGUI_ClassRegistry::RegisterId(CGUI_WindowFactory* factory, bool replace) {
  SRegistration entry{factory->ClassName(), factory->Id()};
  if (!Register(byId_, entry.className + entry.id, factory, replace)) return false;
  idOrder_.push_back(std::move(entry));
  return true;
}

CGUI_Window* CGUI_ClassRegistry::CreateWindow(std::string_view className, std::string_view id) {
  // The id-bound key, class name then id, made on the stack when it is short.
  char buffer[128];
  std::string longKey;
  std::string_view key;
  if (className.size() + id.size() <= sizeof buffer) {
    std::memcpy(buffer, className.data(), className.size());
    std::memcpy(buffer + className.size(), id.data(), id.size());
    key = std::string_view(buffer, className.size() + id.size());
  } else {
    longKey.append(className).append(id);
    key = longKey;
  }
  auto it = byId_.find(key);
  if (it == byId_.end()) {
    it = byClass_.find(className);
    if (it == byClass_.end()) return nullptr;
  }
  return it->second->Create();
}
