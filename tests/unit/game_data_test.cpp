// Shipped game data: every table of the asset root loads without a problem
// and holds what the screens need; tables with bad lines report file and line
// and keep their good lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "refhost/game_data.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "refhost/texture_store.h"
#include "tests/expected/expected_text.h"

using namespace korvohost;

namespace {

class GameData : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    ResetGraphics();
    Reset();
  }

  static std::string File(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadFile(path, &bytes)) << path;
    return bytes;
  }

  // Loads a picture the way the screens do; "WIDTHxHEIGHT", or "0x0" when it fails.
  static std::string Picture(const std::string& path) {
    TEXTURE texture = nullptr;
    if (!RegisterNewTexture(&InterfaceTexture, path.c_str(), &texture, 0)) return "0x0";
    LoadTexture(&InterfaceTexture, 0);
    const bool loaded = texture->loaded && !texture->missing;
    const std::string size = std::to_string(loaded ? texture->width : 0) + "x" +
                             std::to_string(loaded ? texture->height : 0);
    ReleaseTexture(texture, 0);
    return size;
  }
  // The text lines of a host script and the mission or match it starts.
  static std::string Script(const std::string& path) {
    std::vector<SScriptStep> steps;
    std::vector<std::string> errors;
    if (!ParseHostScript(File(path), path, &steps, &errors)) return "script errors " + errors[0];
    int texts = 0;
    std::string starts;
    for (const SScriptStep& step : steps) {
      texts += step.kind == SScriptStep::EKind::kText;
      if (step.kind == SScriptStep::EKind::kMission || step.kind == SScriptStep::EKind::kMatch)
        starts += step.kind == SScriptStep::EKind::kMission ? " + mission" : " + match";
    }
    return "script of " + std::to_string(texts) + " text lines" + starts;
  }
  // "N lines" when every line is non-empty and ends with CR LF; else "bad".
  static std::string CrLfLines(const std::string& text) {
    size_t lines = 0, pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2, ++lines)
      if (end == pos) return "bad";
    return pos == text.size() ? std::to_string(lines) + " lines" : "bad";
  }
};

}  // namespace

// What the screens find of every table, one line per record, with the sizes
// of the pictures they load.
TEST_F(GameData, TheShippedDataLoadsCompletely) {
  std::string error;
  ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
  SGameData data;
  std::vector<std::string> errors;
  EXPECT_TRUE(LoadGameData(&data, &errors));
  EXPECT_TRUE(errors.empty()) << testing::PrintToString(errors);

  std::string text;
  for (const SMissionRecord& m : data.missions) {
    const std::string desc = File(m.desc);
    text += m.name + " key " + m.key + (m.initial ? " initial" : "") + ", desc " + std::to_string(desc.size()) +
            (desc.find('\r') == std::string::npos ? " bytes" : " bytes with CR") + ", objective " +
            CrLfLines(File(m.objective)) + ", briefing " + Script(m.briefing) + ", " + Script(m.script) +
            ", picture " + Picture("menu/" + m.name + ".tga") + "\n";
  }
  text += "match " + Script("data/script/match/deathmatch.txt") + "\n";
  text += "credits " + Script("data/script/ending/credit.txt") + ", ending " +
          std::to_string(File("data/script/ending/ending.txt").size()) + " bytes\n";
  for (const SCharacterRecord& c : data.characters)
    text += "character " + std::to_string(c.id) + " " + c.name + " portrait " + Picture(c.portrait) +
            " loading " + Picture("menu/loading_char" + std::to_string(c.id) + ".tga") + "\n";
  text += "random character " + Picture("menu/crandom.tga") + "\n";
  for (const SOptionPartRecord& o : data.optionParts) {
    auto weapon = std::find_if(data.weaponNames.begin(), data.weaponNames.end(),
                               [&](const SWeaponNameRecord& w) { return w.id == o.id; });
    text += "option " + std::to_string(o.id) + " " + o.name + " | " + o.text2 + " | " + o.text4 + " icon " +
            Picture("menu/" + o.icon) + " weapon " + (weapon == data.weaponNames.end() ? "-" : weapon->name) + "\n";
  }
  text += "random option " + Picture("menu/icon_random_s.tga") + "\n";
  // The picture is the name before the first "-" with its last three
  // characters made "TGA", as the map browser, the room and the join list find it.
  for (const SMapRecord& m : data.maps) {
    const std::string name = m.file.substr(0, m.file.find('-'));
    EXPECT_EQ(m.picture, name.substr(0, name.size() - 3) + "TGA");
    EXPECT_EQ(File("data/texture/interface/" + m.picture), File("menu/" + m.picture));
    text += "map " + m.file + " " + m.title + " picture " + Picture("menu/" + m.picture) + "\n";
  }
  text += "map logo " + Picture("menu/maplogo.tga") + ", cursor " + Picture("menu/mapcursor1.tga") + "\n";
  // The message numbers the screens show.
  for (int id : {22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 36, 39, 69}) {
    auto it = std::find_if(data.messages.begin(), data.messages.end(),
                           [&](const SMessageRecord& m) { return m.id == id; });
    text += "message " + std::to_string(id) + " " + (it == data.messages.end() ? "missing" : it->text) + "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/game_data_shipped.expected", text);
}

TEST_F(GameData, BadLinesNameFileAndLineAndTheRestLoads) {
  OverlayFile("data/d.txt", "text");
  OverlayFile("menu/i.tga", "icon");
  OverlayFile("data/map/arena.gnd", "ground");
  OverlayFile(kMissionTable,
              "# missions\n"
              "mission \"MISSION 01\" desc=data/d.txt briefing=data/d.txt objective=data/d.txt script=data/d.txt "
              "initial=true\n"
              "mission \"MISSION 02\" desc=data/d.txt briefing=data/d.txt objective=data/d.txt\n"
              "mission \"MISSION 01\" desc=data/d.txt briefing=data/d.txt objective=data/d.txt script=data/d.txt\n"
              "mission M3 key=K3 desc=data/none.txt briefing=data/d.txt objective=data/d.txt script=data/d.txt\n"
              "mission M4 desc=data/d.txt briefing=data/d.txt objective=data/d.txt script=data/d.txt initial=yes\n"
              "mision M5\n");
  OverlayFile(kCharacterTable,
              "character 1 name=char1 portrait=menu/i.tga\ncharacter x name=c portrait=menu/i.tga\n"
              "character 1 name=again portrait=menu/i.tga\ncharacter 2 name=c2 portrait=menu/i.tga colour=1\n");
  OverlayFile(kOptionPartTable,
              "optionpart name=GUN text2=\"A gun\" icon=i.tga text4=SHORT id=1\n"
              "optionpart name=NONE icon=null id=2\n"
              "optionpart name=BAD icon=missing.tga id=3\n"
              "weapon 1 name=Gun\nweapon 1 name=Again\n");
  OverlayFile(kMapTable, "map arena.gnd title=Arena picture=i.tga\nmap arena.txt title=X picture=i.tga\n"
                         "map lost.gnd-DE title=Lost picture=null\nmap old-DE.gnd title=Old picture=null\n");
  const std::string longest(kMessageTextMax, 'X');
  OverlayFile(kMessageTable,
              "# messages\n"
              "26 \"THE MAP IS MISSING.\"\n"
              "27 READY\n"
              "28 \"NO PILOT\n"                          // unclosed quote
              "26 \"AGAIN\"\n"                           // number used twice
              "x1 \"WORD FIRST\"\n"
              "0 \"ZERO\"\n"
              "29\n"
              "30 \"ONE\" \"TWO\"\n"
              "31 text=\"FIELD\"\n"
              "32 \"\"\n"
              "\"33\" \"QUOTED NUMBER\"\n"
              "34 \"" + longest + "\"\n"
              "35 \"" + longest + "X\"\n"
              "36 \"WAIT\\x21\"\r\n");
  OverlayFile(kCampaignTable,
              "open \"MISSION 02\" after=\"MISSION 01\" within=60\n"
              "open B mission=M4 after=\"MISSION 01\"\n"
              "open C mission=\"MISSION 01\" after=\"MISSION 01\" over=x\n"
              "open after=\"MISSION 01\"\n"
              "ending after=M9\n"
              "close X after=\"MISSION 01\"\n"
              "open D after=\"MISSION 01\" mission=\"MISSION 01\" if=B over=10\n"
              "ending after=\"MISSION 01\"\n");
  SGameData data;
  std::vector<std::string> errors;
  EXPECT_FALSE(LoadGameData(&data, &errors));
  // Then what loads: campaign lines name missions of the mission table.
  std::string text;
  for (const std::string& e : errors) text += e + "\n";
  for (const SMissionRecord& m : data.missions) text += "mission " + m.key + (m.initial ? " initial\n" : "\n");
  for (const SCampaignRule& c : data.campaign)
    text += "campaign " + c.key + " " + c.mission + " if " + c.ifKey + " over " + std::to_string(c.over) +
            " within " + std::to_string(c.within) + (c.ending ? " ending\n" : "\n");
  for (const SCharacterRecord& c : data.characters) text += "character " + c.name + "\n";
  for (const SOptionPartRecord& o : data.optionParts) text += "option " + o.text2 + " icon " + o.icon + "\n";
  for (const SWeaponNameRecord& w : data.weaponNames) text += "weapon " + w.name + "\n";
  for (const SMapRecord& m : data.maps) text += "map " + m.title + "\n";
  for (const SMessageRecord& m : data.messages) text += "message " + std::to_string(m.id) + " " + m.text + "\n";
  EXPECT_MATCHES_EXPECTED("unit/expected/game_data_bad_lines.expected", text);

  // A root without tables says so for each.
  RemoveOverlayFile(kMapTable);
  errors.clear();
  EXPECT_FALSE(LoadGameData(&data, &errors));
  EXPECT_NE(std::find(errors.begin(), errors.end(), "data/table/maps.txt: missing table"), errors.end());
}
