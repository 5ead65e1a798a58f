// korvohost.h: the reference host's control API, for tools and tests only.
// The module never calls it: it reaches the host through host/*.h.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#define KORVOHOST_API __attribute__((visibility("default")))

namespace korvohost {

// ---- Game file system ------------------------------------------------------------------
// Mounts a folder or a .zip archive as the root of the game file system
// (replacing an earlier mount). False with a reason in *error on failure.
KORVOHOST_API bool Mount(const std::string& root, std::string* error = nullptr);
KORVOHOST_API void Unmount();
// Files that lie over the mounted root (tests, session scripts).
KORVOHOST_API void OverlayFile(const std::string& path, const std::string& bytes);
KORVOHOST_API bool RemoveOverlayFile(const std::string& path);
KORVOHOST_API void ClearOverlay();
// Reads a file as the module would see it; false when absent.
KORVOHOST_API bool ReadFile(const std::string& path, std::string* bytes);
// File images handed out and not yet released.
KORVOHOST_API int OpenFileImages();
// Changes with every mount, unmount and overlay change, so that what was
// found absent can be remembered until the files may differ.
KORVOHOST_API uint32_t FileSystemGeneration();

// ---- Clock, screen, flags ----------------------------------------------------------------
KORVOHOST_API void SetTick(uint32_t ms);
// The system milliseconds of timeGetTime (the multimedia timer); sessions
// script it, a tool that plays in real time sets it from the machine's clock.
KORVOHOST_API void SetSystemTime(uint32_t ms);
KORVOHOST_API void SetScreen(int width, int height);
// Int host variables by name (DebugMode, bSceneActive, ViewP, ...).
KORVOHOST_API bool SetVar(const std::string& name, int value);
KORVOHOST_API bool GetVar(const std::string& name, int* value);
KORVOHOST_API std::vector<std::string> VarNames();
// Mouse cursor mode nesting (EnterMouseCursorMode - LeaveMouseCursorMode).
KORVOHOST_API int MouseCursorDepth();
KORVOHOST_API int AmbientLight();

// ---- Records -----------------------------------------------------------------------------
// Each Take returns what was recorded since the last Take and forgets it.
KORVOHOST_API std::vector<int> TakeSounds();
KORVOHOST_API std::vector<std::string> TakeCommands();
// Render states the module set (SetRenderState), in Direct3D's numbers; a record of
// their own, apart from the recorded service calls, as drawing is never a call.
KORVOHOST_API std::vector<std::pair<int, uint32_t>> TakeRenderStates();
KORVOHOST_API void RecordRenderState(int state, uint32_t value);
// Runs after each ExecuteCommand has been recorded, as the game's console
// would run the line (korvoui: "ui_reload" recompiles the UI script).
KORVOHOST_API void SetCommandHandler(std::function<void(const std::string&)> handler);
// Message texts returned by Res_LoadString.
KORVOHOST_API void SetString(int id, const std::string& text);
KORVOHOST_API void ClearStrings();

// Back to a fresh host: no mount, no overlay, clock 0, 1024x768, flags 0,
// records empty, no textures, fonts and render mode as at start, the game
// state empty.
KORVOHOST_API void Reset();

}  // namespace korvohost
