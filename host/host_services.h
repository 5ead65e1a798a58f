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
extern int KORVO_VERSION;   // build number of the game

void EnterMouseCursorMode();
void LeaveMouseCursorMode();
void SetAmbientLight(int level);

// ---- Sound, strings, commands ------------------------------------------------
void PlaySoundA(int id);
// Fills buffer with message text number id (at most size bytes with the NUL);
// returns the length, 0 when there is no such text.
int Res_LoadString(int id, char* buffer, int size);
void ExecuteCommand(const char* line);
