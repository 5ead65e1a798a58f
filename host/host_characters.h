// host_characters.h: the host's characters, the 3D previews and demo scenes,
// and the in-game state of the running scene that the overlays read.
#pragma once

// ---- Scene objects ---------------------------------------------------------------
// A weapon of a character.
struct CWeapon {
  char name[32];
};

// A gauge of a character on its 0-1000 scale (heat).
class CGauge {
 public:
  float GetGauge() const;
  float value = 0;          // current level
  float threshold = 700;    // level from which the warning colour shows
  bool overheated = false;
};

// A mounted option part.
struct COPT_Option {
  char name[32];                 // display name
  char icon[64];                 // icon texture name
  float charge;                  // 0.0-1.0
  unsigned char color[4];        // bar colour bytes: R, G, B, A
  unsigned char textColor[4];    // text colour bytes: R, G, B, A
};

// An item of the running scene.
struct COH_Item {
  int type;
};

// A character of the running scene. The module may move it (x, y, z).
struct CHARACTER {
  int armor = 100;
  int shield = 100;
  CGauge heat;
  bool heatFlag = false;        // further heat flag (colour 0xFF52D8DE)
  CWeapon* weapon = nullptr;    // current weapon; null: none
  float x = 0, y = 0, z = 0;
  int team = 0;
  int radarIndex = 0;           // 0-63
  int radarShow = 1;            // a radar blip shows when radarShow != 0
  int radarHide = 0;            //   and radarHide == 0
  COPT_Option* leftOption = nullptr;    // read through GetOptionWeapon
  COPT_Option* rightOption = nullptr;
};

// The characters of the match, in the order the scene holds them.
class CPlayerList {
 public:
  int Count() const;
  CHARACTER* At(int index) const;   // null outside 0 .. Count() - 1
};
extern CPlayerList PlayerList;
extern CHARACTER* pControlCharacter;   // the character the player controls; null: none

COPT_Option* GetOptionWeapon(CHARACTER* character, bool leftHand);

// ---- Character table ----------------------------------------------------------------
int GetNumCharacters();
int GetCharacterID(int index);            // -1 outside the table
const char* GetCharacterName(int index);  // "" outside the table

// Option part descriptors, a list from OPT_GetDescHead().
struct OPT_DESC {
  const char* text[4];   // name, second text, small icon, fourth text
  int id;                // host option id
  OPT_DESC* next;        // null at the end
};
OPT_DESC* OPT_GetDescHead();
const char* OPT_GetNameByID(int id);      // "" for an unknown id

// ---- Previews and demo scenes ----------------------------------------------------------
CHARACTER* NewCharacter();
void LoadCharacterReference(CHARACTER* character, int id);
void SetCharacterMotion(CHARACTER* character, int motion);
void AddOptionWeapon(CHARACTER* character, const char* weapon, bool leftHand);
void RemoveOptionWeapon(CHARACTER* character, bool leftHand);
void DeleteCharacter(CHARACTER* character);
void ChangeControlCharacter(CHARACTER* character);   // null: no control
CHARACTER* CLoadCharacter(int id, const char* name, int startPoint);
void CLoadGround(const char* map);
void SetCamera(float x, float y, float z, float pitch);
void ReleaseScene();
void ReleaseSceneAtOnce();
void DrawCharacter(CHARACTER* character);
void SetRenderViewport(int x, int y, int w, int h);
