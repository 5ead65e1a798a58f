// host_services.h: what the module calls in the game executable (files, clock,
// screen, sound, strings, console commands, host flags). A game defines these in
// its executable; the reference host (refhost/) defines them for tools and tests.
#pragma once
#include <cstdint>

// ---- Files of the packed game file system ----------------------------------
// On success *image points at the file's bytes and stays valid until
// ReleaseFileImage(*image).
bool GetFileImageInCFS(const char* path, void** image, uint32_t* size);
void ReleaseFileImage(void* image);

// Names (without folders) of the files whose path matches "data/" + pattern
// ('*' any run without '/', '?' one byte), in byte order; *names gets an array
// of count strings, freed with Release2DArray(names, count). Returns count.
int FindFiles(const char* pattern, char*** names);
void Release2DArray(char** array, int count);
// The number of files whose path matches pattern.
int FindFilesInCFS(const char* pattern);
// Path of a map file: "map/" + name (valid until the next call).
const char* GetGNDPath(const char* name);

// ---- Clock and screen --------------------------------------------------------
extern uint32_t dwY3DCurrentFrameTick;   // milliseconds of the current frame
extern int SCREEN_X;                     // back buffer width in pixels
extern int SCREEN_Y;                     // back buffer height in pixels

// ---- Host flags ---------------------------------------------------------------
extern int bConsole;        // the console owns the keyboard
extern int bSystemMenu;     // a menu screen is up
extern int bChatInputMode;  // in-game chat input is open
extern int bSceneActive;    // a 3D scene is running
extern int bServerSystem;   // this machine hosts the match
extern int bHalt;           // set to leave the game loop
extern int DebugMode;       // diagnostic lines go to the script console
extern char KORVO_VERSION[32];   // version string of the game
extern int bInputEvent;     // an input event arrived this frame
extern int bY3DFrameSkip;   // frame skipping of the renderer
extern int ViewP;           // view angle, an index into cos_ptr and sin_ptr (0-4095)

void EnterMouseCursorMode();
void LeaveMouseCursorMode();
void SetAmbientLight(int level);

// ---- Sound, strings, commands ------------------------------------------------
void PlaySoundA(int id);
// Fills buffer with message text number id (at most size bytes with the NUL);
// returns the length, 0 when there is no such text.
int Res_LoadString(int id, char* buffer, int size);
void ExecuteCommand(const char* line);
// Length of sound id in milliseconds.
int GetPlayTime(int id);
void PlayMainBGM();
void PlayIntroMovie();
// Restarts the engine for a reason ("option_graphic").
void Restart(const char* reason);
// True while the game loop of a mission or match runs.
bool IsInGameLoop();

// ---- Math -----------------------------------------------------------------------
float GetY3DDegree(float degrees);   // radians
float fastsqrt(float x);
extern const float* cos_ptr;         // 4096 entries: cos and sin of 2 pi i / 4096
extern const float* sin_ptr;

// ---- Platform layer ----------------------------------------------------------------
uint32_t timeGetTime();              // system milliseconds
