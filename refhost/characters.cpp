// characters.cpp: the host's character table, option part descriptors, the
// characters of previews and demo scenes, and the in-game reads of them.
#include "refhost/call_record.h"
#include "refhost/game_state.h"
#include "refhost/option_parts.h"
#include "refhost/scene_view.h"
#include "refhost/sim_match.h"
#include "refhost/sim_mission.h"

using korvohost::Game;
using korvohost::ObjectEntry;
using korvohost::ObjectKind;
using korvohost::ObjectLabel;
using korvohost::RecordService;
using korvostate::PrintBool;
using korvostate::PrintFloat;
using korvostate::PrintText;

namespace {

// Outside sessions the services below keep and show real state; under
// `korvoui run` they stay records.
bool Live() { return !korvostate::Recording(); }

// The descriptor list that OPT_GetDescHead hands out, rebuilt at each call.
std::vector<OPT_DESC>& Descs() {
  static std::vector<OPT_DESC> descs;
  return descs;
}

std::string Int(int v) { return std::to_string(v); }

ObjectEntry* NewActor(bool listed) {
  ObjectEntry* o = korvohost::AddNumberedObject(ObjectKind::Actor);
  o->listed = listed;
  return o;
}

}  // namespace

// ---- Character table and option descriptors -------------------------------------------

int GetNumCharacters() { return int(Game().characters.size()); }

int GetCharacterID(int index) {
  if (index < 0 || index >= GetNumCharacters()) return -1;
  return Game().characters[index].id;
}

const char* GetCharacterName(int index) {
  if (index < 0 || index >= GetNumCharacters()) return "";
  return Game().characters[index].name.c_str();
}

OPT_DESC* OPT_GetDescHead() {
  auto& parts = Game().optionParts;
  auto& descs = Descs();
  descs.assign(parts.size(), OPT_DESC{});
  for (size_t i = 0; i < parts.size(); ++i) {
    descs[i].text[0] = parts[i].name.c_str();
    descs[i].text[1] = parts[i].text2.c_str();
    descs[i].text[2] = parts[i].icon.c_str();
    descs[i].text[3] = parts[i].text4.c_str();
    descs[i].id = parts[i].id;
    descs[i].next = i + 1 < parts.size() ? &descs[i + 1] : nullptr;
  }
  return descs.empty() ? nullptr : &descs[0];
}

const char* OPT_GetNameByID(int id) {
  for (const auto& [key, name] : Game().optionNames)
    if (key == id) return name.c_str();
  return "";
}

// ---- Previews and demo scenes -------------------------------------------------------------

CHARACTER* NewCharacter() {
  ObjectEntry* o = NewActor(false);
  RecordService("NewCharacter", {}, "@" + o->name);
  return &o->actor;
}

void LoadCharacterReference(CHARACTER* character, int id) {
  RecordService("LoadCharacterReference", {ObjectLabel(character), Int(id)});
  if (ObjectEntry* o = korvohost::FindObjectOf(character)) o->characterId = id;
}

void SetCharacterMotion(CHARACTER* character, int motion) {
  RecordService("SetCharacterMotion", {ObjectLabel(character), Int(motion)});
}

void AddOptionWeapon(CHARACTER* character, const char* weapon, bool leftHand) {
  RecordService("AddOptionWeapon", {ObjectLabel(character), PrintText(weapon), PrintBool(leftHand)});
  if (ObjectEntry* o = korvohost::FindObjectOf(character)) o->weapons[leftHand] = weapon ? weapon : "";
}

void RemoveOptionWeapon(CHARACTER* character, bool leftHand) {
  RecordService("RemoveOptionWeapon", {ObjectLabel(character), PrintBool(leftHand)});
  if (ObjectEntry* o = korvohost::FindObjectOf(character)) o->weapons[leftHand].clear();
}

void DeleteCharacter(CHARACTER* character) {
  RecordService("DeleteCharacter", {ObjectLabel(character)});
  ObjectEntry* o = korvohost::FindObjectOf(character);
  if (o && o->kind == ObjectKind::Actor) korvohost::RemoveObject(o);
}

void ChangeControlCharacter(CHARACTER* character) {
  RecordService("ChangeControlCharacter", {ObjectLabel(character)});
  ObjectEntry* o = korvohost::FindObjectOf(character);
  pControlCharacter = o && o->kind == ObjectKind::Actor ? &o->actor : nullptr;
}

CHARACTER* CLoadCharacter(int id, const char* name, int startPoint) {
  ObjectEntry* o = NewActor(true);
  RecordService("CLoadCharacter", {Int(id), PrintText(name), Int(startPoint)}, "@" + o->name);
  o->characterId = id;
  return &o->actor;
}

void CLoadGround(const char* map) {
  RecordService("CLoadGround", {PrintText(map)});
  if (Live()) Game().scene.ground = map ? map : "";
}

void SetCamera(float x, float y, float z, float pitch) {
  RecordService("SetCamera", {PrintFloat(x), PrintFloat(y), PrintFloat(z), PrintFloat(pitch)});
  if (!Live()) return;
  float* camera = Game().scene.camera;
  camera[0] = x, camera[1] = y, camera[2] = z, camera[3] = pitch;
}

namespace {

// The scene goes: its ground, a simulated mission and every actor in it.
void ClearScene() {
  if (!Live()) return;
  korvohost::EndSimMission();
  korvohost::EndSimMatch();
  Game().scene.ground.clear();
  for (size_t i = Game().objects.size(); i-- > 0;) {
    ObjectEntry* o = Game().objects[i].get();
    if (o->kind == ObjectKind::Actor && o->listed) korvohost::RemoveObject(o);
  }
}

}  // namespace

void ReleaseScene() {
  RecordService("ReleaseScene", {});
  ClearScene();
}

void ReleaseSceneAtOnce() {
  RecordService("ReleaseSceneAtOnce", {});
  ClearScene();
}

// The 2D renderer stands in for the 3D one: the character's portrait with its
// option weapons named, in the viewport's rectangle.
void DrawCharacter(CHARACTER* character) {
  if (!Live()) return;
  if (const ObjectEntry* o = korvohost::FindObjectOf(character); o && o->kind == ObjectKind::Actor)
    korvohost::DrawCharacterPreview(*o);
}

void SetRenderViewport(int x, int y, int w, int h) {
  if (!Live()) return;
  korvohost::SceneView& view = Game().scene;
  view.viewport[0] = x, view.viewport[1] = y, view.viewport[2] = w, view.viewport[3] = h;
  view.hasViewport = true;
}

// ---- In-game reads ------------------------------------------------------------------------

float CGauge::GetGauge() const { return value; }

COPT_Option* GetOptionWeapon(CHARACTER* character, bool leftHand) {
  if (!character) return nullptr;
  return leftHand ? character->leftOption : character->rightOption;
}

namespace korvohost {

void SetOptionParts(const std::vector<SOptionPartRecord>& parts) { Game().optionParts = parts; }

}  // namespace korvohost
