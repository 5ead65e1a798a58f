// registry.h: window factories and the class registry that turns a script
// class name (and optionally a window id) into a new window object.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window.h"

class CGUI_WindowFactory {
 public:
  CGUI_WindowFactory() = default;
  CGUI_WindowFactory(const CGUI_WindowFactory&) = delete;
  CGUI_WindowFactory& operator=(const CGUI_WindowFactory&) = delete;

  virtual ~CGUI_WindowFactory() = default;
  virtual bool GetClassName(std::string& out);
  virtual bool GetId(std::string& out);
  // A new default-constructed window of the factory's class, owned by the caller.
  virtual CGUI_Window* Create() = 0;

  const std::string& ClassName() const { return className_; }
  const std::string& Id() const { return id_; }

 protected:
  std::string className_;
  std::string id_;
};

// The factory of window class T. Its class name is read from a throw-away
// instance, so it always equals the script class name T's constructor sets.
template <class T>
class TGUI_WindowFactory : public CGUI_WindowFactory {
 public:
  explicit TGUI_WindowFactory(const char* id = "") {
    CGUI_Window* prototype = new T;
    prototype->GetClassName(className_);
    delete prototype;
    id_ = id;
  }
  CGUI_Window* Create() override { return NoteUpdateOf(new T); }
};

class CGUI_ClassRegistry {
 public:
  CGUI_ClassRegistry() = default;
  ~CGUI_ClassRegistry();
  CGUI_ClassRegistry(const CGUI_ClassRegistry&) = delete;
  CGUI_ClassRegistry& operator=(const CGUI_ClassRegistry&) = delete;

  // Key: the factory's class name. Without replace an existing key makes the
  // call fail (the caller keeps the factory); with it the old factory is deleted.
  bool RegisterClass(CGUI_WindowFactory* factory, bool replace);
  // Key: class name immediately followed by the id.
  bool RegisterId(CGUI_WindowFactory* factory, bool replace);
  // The id-bound class first, then the class alone; null when neither exists.
  CGUI_Window* CreateWindow(std::string_view className, std::string_view id);

  // Both maps are searched by any string-like key without making a string.
  using FactoryMap = std::map<std::string, CGUI_WindowFactory*, std::less<>>;
  const FactoryMap& ByClass() const { return byClass_; }
  const FactoryMap& ById() const { return byId_; }

  // Every id registration that took effect, as (class name, id), in call
  // order: the registration table as it ran (tests and the inspector read it).
  struct SRegistration {
    std::string className;
    std::string id;
  };
  const std::vector<SRegistration>& IdRegistrations() const { return idOrder_; }

 private:
  static bool Register(FactoryMap& map, const std::string& key,
                       CGUI_WindowFactory* factory, bool replace);

  FactoryMap byId_;
  FactoryMap byClass_;
  std::vector<SRegistration> idOrder_;
};

// The module's one registry; null before GUI_Initialize and after GUI_Release.
CGUI_ClassRegistry* GetClassRegistry();
