// sim_actors.h: what the simulated mission and the simulated match share:
// a deterministic random generator, actors made for PlayerList and removed
// together, option parts mounted from the game data, moving toward a target,
// and the heat of firing (overheat and cooling back).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/game_state.h"

namespace korvohost::sim {

// A clock jump catches up at most this many steps per call.
constexpr int kMaxStepsPerCall = 200;

// A small deterministic generator (a linear congruence); 24 bits per call.
uint32_t NextRandom(uint32_t* state);
// 0 .. n - 1 (n > 0).
inline int RandomBelow(uint32_t* state, int n) { return int(NextRandom(state) % uint32_t(n)); }

float Distance(const CHARACTER& a, const CHARACTER& b);
// Moves `c` toward `target` by up to `speed`, stopping `keepOff` away.
void MoveToward(const CHARACTER& target, CHARACTER& c, float speed, float keepOff);

// The actors of one simulation: every object made is removed with RemoveAll.
class CActorSet {
 public:
  // A listed actor of the character id on the team, with the next radar index.
  ObjectEntry* NewActor(int characterId, int team);
  // Mounts the option part `choice` (1-based index of the game data; others:
  // none) on the actor's left or right hand.
  void MountPart(ObjectEntry* actor, int choice, bool leftHand);
  // An item object of the scene of this item type.
  ObjectEntry* NewItem(int type);
  void RemoveAll();

 private:
  std::vector<ObjectEntry*> owned_;
};

// ---- The scene --------------------------------------------------------------------------------
// The simulation's scene becomes the game: `control` is the control character,
// the scene is active, the host in its game loop, the ground `map` when one is
// named (true: this simulation set it) and the camera `height` above the origin.
bool EnterScene(CHARACTER* control, const std::string& map, float height);
// Leaves it: the actors go, no control character, out of the game loop; the
// ground goes when the simulation set it.
void LeaveScene(CActorSet& actors, bool setGround);

// Gives the actor a current weapon of this name.
void ArmWith(ObjectEntry* actor, const char* weapon);

// ---- Heat ------------------------------------------------------------------------------------
constexpr float kHeatPerShot = 30, kCooling = 20;
constexpr float kHeatMax = 1000, kHeatRecovered = 300;

// One shot's heat: true when this shot overheated the guns.
bool HeatShot(CHARACTER& c);
// One step without firing: cools, and clears the overheat at the recovered level.
void Cool(CHARACTER& c);
// The further heat flag follows the warning threshold.
inline void UpdateHeatFlag(CHARACTER& c) { c.heatFlag = c.heat.value >= c.heat.threshold; }

}  // namespace korvohost::sim
