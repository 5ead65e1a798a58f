// sim_actors.cpp: the pieces the simulated mission and match share.
#include "refhost/sim_actors.h"

#include <algorithm>
#include <cmath>

#include "host/host_characters.h"
#include "host/host_services.h"

namespace korvohost::sim {

uint32_t NextRandom(uint32_t* state) {
  *state = *state * 1664525u + 1013904223u;
  return *state >> 8;
}

float Distance(const CHARACTER& a, const CHARACTER& b) { return std::hypot(a.x - b.x, a.z - b.z); }

void MoveToward(const CHARACTER& target, CHARACTER& c, float speed, float keepOff) {
  const float d = Distance(target, c);
  if (d <= keepOff || d == 0) return;
  const float move = std::min(speed, d - keepOff);
  c.x += (target.x - c.x) / d * move;
  c.z += (target.z - c.z) / d * move;
}

// ---- Actors -----------------------------------------------------------------------------------

ObjectEntry* CActorSet::NewActor(int characterId, int team) {
  ObjectEntry* o = AddNumberedObject(ObjectKind::Actor);
  o->characterId = characterId;
  o->actor.team = team;
  o->actor.radarIndex = int(owned_.size()) % 64;
  owned_.push_back(o);
  return o;
}

void CActorSet::MountPart(ObjectEntry* actor, int choice, bool leftHand) {
  const auto& parts = Game().optionParts;
  if (choice < 1 || choice > int(parts.size())) return;
  const SOptionPartRecord& part = parts[size_t(choice - 1)];
  ObjectEntry* o = AddNumberedObject(ObjectKind::ActorOption);
  owned_.push_back(o);
  CopyToRoom(o->option.name, sizeof o->option.name, part.name);
  CopyToRoom(o->option.icon, sizeof o->option.icon, part.icon == "null" ? "" : part.icon);
  o->option.charge = 1;
  CHARACTER& c = actor->actor;
  (leftHand ? c.leftOption : c.rightOption) = &o->option;
  actor->weapons[leftHand] = part.name;
}

ObjectEntry* CActorSet::NewItem(int type) {
  ObjectEntry* o = AddNumberedObject(ObjectKind::Item);
  o->item.type = type;
  owned_.push_back(o);
  return o;
}

void CActorSet::RemoveAll() {
  for (ObjectEntry* o : owned_) RemoveObject(o);
  owned_.clear();
}

void ArmWith(ObjectEntry* actor, const char* weapon) {
  actor->weaponStore = CWeapon{};
  CopyToRoom(actor->weaponStore.name, sizeof actor->weaponStore.name, weapon);
  actor->actor.weapon = &actor->weaponStore;
}

// ---- Heat ---------------------------------------------------------------------------------------

bool HeatShot(CHARACTER& c) {
  CGauge& heat = c.heat;
  heat.value = std::min(kHeatMax, heat.value + kHeatPerShot);
  if (heat.value < kHeatMax || heat.overheated) return false;
  heat.overheated = true;
  return true;
}

void Cool(CHARACTER& c) {
  CGauge& heat = c.heat;
  heat.value = std::max(0.0f, heat.value - kCooling);
  if (heat.overheated && heat.value <= kHeatRecovered) heat.overheated = false;
}

// ---- The scene --------------------------------------------------------------------------------

bool EnterScene(CHARACTER* control, const std::string& map, float height) {
  pControlCharacter = control;
  bSceneActive = 1;
  Game().inGameLoop = true;
  if (!map.empty()) Game().scene.ground = map;
  float* camera = Game().scene.camera;
  camera[0] = 0, camera[1] = height, camera[2] = 0, camera[3] = -90;
  return !map.empty();
}

void LeaveScene(CActorSet& actors, bool setGround) {
  actors.RemoveAll();
  if (setGround) Game().scene.ground.clear();
  pControlCharacter = nullptr;
  bSceneActive = 0;
  Game().inGameLoop = false;
}

}  // namespace korvohost::sim
