// Shipped game data: every table of the asset root loads without a problem
// and holds what the screens need; tables with bad lines report file and line
// and keep their good lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "refhost/game_data.h"
#include "refhost/host_script.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "refhost/texture_store.h"

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

  // Loads a picture the way the screens do; its size, or 0 x 0 when it fails.
  static std::pair<int, int> Picture(const std::string& path) {
    TEXTURE texture = nullptr;
    if (!RegisterNewTexture(&InterfaceTexture, path.c_str(), &texture, 0)) return {0, 0};
    LoadTexture(&InterfaceTexture, 0);
    const std::pair<int, int> size =
        texture->loaded && !texture->missing ? std::make_pair(texture->width, texture->height) : std::make_pair(0, 0);
    ReleaseTexture(texture, 0);
    return size;
  }

  static void ExpectScript(const std::string& path) {
    std::vector<SScriptStep> steps;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParseHostScript(File(path), path, &steps, &errors)) << path << ": " << testing::PrintToString(errors);
    EXPECT_TRUE(std::any_of(steps.begin(), steps.end(),
                            [](const SScriptStep& s) { return s.kind == SScriptStep::EKind::kText; }))
        << path;
  }
};

}  // namespace

TEST_F(GameData, TheShippedDataLoadsCompletely) {
  std::string error;
  ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
  SGameData data;
  std::vector<std::string> errors;
  EXPECT_TRUE(LoadGameData(&data, &errors));
  EXPECT_TRUE(errors.empty()) << testing::PrintToString(errors);

  // Twelve story missions, keyed by their titles, the first one initial.
  ASSERT_EQ(data.missions.size(), 12u);
  for (size_t i = 0; i < 12; ++i) {
    char title[16];
    std::snprintf(title, sizeof title, "MISSION %02zu", i + 1);
    const SMissionRecord& m = data.missions[i];
    EXPECT_EQ(m.name, title);
    EXPECT_EQ(m.key, title);
    EXPECT_EQ(m.initial, i == 0) << title;
    EXPECT_FALSE(File(m.desc).empty()) << m.desc;
    EXPECT_EQ(File(m.desc).find('\r'), std::string::npos) << m.desc;
    ExpectScript(m.briefing);
    ExpectScript(m.script);
    // Five lines, each ended by CR LF, none empty.
    const std::string objective = File(m.objective);
    size_t lines = 0, pos = 0;
    for (size_t end; (end = objective.find("\r\n", pos)) != std::string::npos; pos = end + 2, ++lines)
      EXPECT_GT(end, pos) << m.objective;
    EXPECT_EQ(lines, 5u) << m.objective;
    EXPECT_EQ(pos, objective.size()) << m.objective;
    EXPECT_GT(Picture(std::string("menu/") + title + ".tga").first, 0) << title;
  }
  ExpectScript("data/script/ending/credit.txt");
  EXPECT_FALSE(File("data/script/ending/ending.txt").empty());

  // Eight characters char1 ... char8 with portraits and loading pictures.
  ASSERT_EQ(data.characters.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(data.characters[i].id, i + 1);
    EXPECT_EQ(data.characters[i].name, "char" + std::to_string(i + 1));
    EXPECT_GT(Picture(data.characters[i].portrait).first, 0) << data.characters[i].portrait;
    EXPECT_EQ(Picture("menu/loading_char" + std::to_string(i + 1) + ".tga"), std::make_pair(256, 256));
  }
  EXPECT_GT(Picture("menu/crandom.tga").first, 0);

  // More option parts than the carousel's seven boxes, each with its icon and weapon.
  ASSERT_GT(data.optionParts.size(), 7u);
  for (const SOptionPartRecord& o : data.optionParts) {
    EXPECT_LT(o.name.size(), 50u);
    EXPECT_LT(o.text2.size(), 50u);
    EXPECT_LT(o.text4.size(), 50u);
    EXPECT_EQ(Picture("menu/" + o.icon), std::make_pair(32, 32)) << o.icon;
    EXPECT_TRUE(std::any_of(data.weaponNames.begin(), data.weaponNames.end(),
                            [&](const SWeaponNameRecord& w) { return w.id == o.id && !w.name.empty(); }))
        << o.name;
  }
  EXPECT_GT(Picture("menu/icon_random_s.tga").first, 0);

  // Maps: one for every rule and ones with rule suffixes, each with its picture.
  ASSERT_GE(data.maps.size(), 4u);
  EXPECT_TRUE(std::any_of(data.maps.begin(), data.maps.end(),
                          [](const SMapRecord& m) { return m.file.find('-') == std::string::npos; }));
  EXPECT_TRUE(std::any_of(data.maps.begin(), data.maps.end(),
                          [](const SMapRecord& m) { return m.file.find("-DE") != std::string::npos; }));
  // The picture is the name before the first "-" with its last three
  // characters made "TGA", as the map browser, the room and the join list find it.
  for (const SMapRecord& m : data.maps) {
    const std::string name = m.file.substr(0, m.file.find('-'));
    EXPECT_EQ(m.picture, name.substr(0, name.size() - 3) + "TGA");
    EXPECT_GT(Picture("menu/" + m.picture).first, 0) << m.picture;
    EXPECT_EQ(File("data/texture/interface/" + m.picture), File("menu/" + m.picture));
  }
  EXPECT_GT(Picture("menu/maplogo.tga").first, 0);
  EXPECT_GT(Picture("menu/mapcursor1.tga").first, 0);

  // A text for every message number the screens show, in upper case.
  for (int id : {22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 36, 39, 69}) {
    auto it = std::find_if(data.messages.begin(), data.messages.end(),
                           [&](const SMessageRecord& m) { return m.id == id; });
    ASSERT_NE(it, data.messages.end()) << "message " << id;
    EXPECT_FALSE(it->text.empty()) << id;
    EXPECT_LE(it->text.size(), kMessageTextMax) << id;
    EXPECT_TRUE(std::none_of(it->text.begin(), it->text.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        << it->text;
  }
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
  OverlayFile(kMessageTable, "# no messages yet\n");
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
  // Campaign lines name missions of the mission table.
  ASSERT_EQ(data.campaign.size(), 2u);
  EXPECT_EQ(data.campaign[0].key, "D");
  EXPECT_EQ(data.campaign[0].mission, "MISSION 01");
  EXPECT_EQ(data.campaign[0].ifKey, "B");
  EXPECT_EQ(data.campaign[0].over, 10);
  EXPECT_EQ(data.campaign[0].within, -1);
  EXPECT_TRUE(data.campaign[1].ending);
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "data/table/missions.txt:3: no 'script' field",
                        "data/table/missions.txt:4: mission 'MISSION 01' defined twice",
                        "data/table/missions.txt:5: no file 'data/none.txt'",
                        "data/table/missions.txt:6: bad initial 'yes' (true or false)",
                        "data/table/missions.txt:7: unknown line 'mision'",
                        "data/table/campaign.txt:1: no mission 'MISSION 02'",
                        "data/table/campaign.txt:2: no mission 'M4'",
                        "data/table/campaign.txt:3: bad clear time 'x'",
                        "data/table/campaign.txt:4: 'open' takes its key first",
                        "data/table/campaign.txt:5: no mission 'M9'",
                        "data/table/campaign.txt:6: unknown line 'close'",
                        "data/table/characters.txt:2: bad character id 'x'",
                        "data/table/characters.txt:3: character id 1 defined twice",
                        "data/table/characters.txt:4: unknown field 'colour'",
                        "data/table/optionparts.txt:3: no file 'menu/missing.tga'",
                        "data/table/optionparts.txt:5: weapon 1 defined twice",
                        "data/table/optionparts.txt:2: no weapon line for option id 2",
                        "data/table/maps.txt:2: bad map file name 'arena.txt' (NAME.gnd[-RULE...])",
                        "data/table/maps.txt:3: no file 'data/map/lost.gnd-DE'",
                        "data/table/maps.txt:4: bad map file name 'old-DE.gnd' (NAME.gnd[-RULE...])",
                    }));
  ASSERT_EQ(data.missions.size(), 1u);
  EXPECT_EQ(data.missions[0].key, "MISSION 01");
  EXPECT_TRUE(data.missions[0].initial);
  ASSERT_EQ(data.characters.size(), 1u);
  EXPECT_EQ(data.characters[0].name, "char1");
  ASSERT_EQ(data.optionParts.size(), 2u);
  EXPECT_EQ(data.optionParts[0].text2, "A gun");
  EXPECT_EQ(data.optionParts[1].icon, "null");
  ASSERT_EQ(data.weaponNames.size(), 1u);
  ASSERT_EQ(data.maps.size(), 1u);
  EXPECT_EQ(data.maps[0].title, "Arena");

  // A root without tables says so for each.
  RemoveOverlayFile(kMapTable);
  errors.clear();
  EXPECT_FALSE(LoadGameData(&data, &errors));
  EXPECT_EQ(errors.back(), "data/table/maps.txt: missing table");
}

TEST_F(GameData, MessageLinesAreCheckedOneByOne) {
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
  SGameData data;
  std::vector<std::string> errors;
  LoadGameData(&data, &errors);
  std::vector<std::string> messageErrors;
  for (const std::string& e : errors)
    if (e.rfind(kMessageTable, 0) == 0) messageErrors.push_back(e);
  EXPECT_EQ(messageErrors, (std::vector<std::string>{
                               "data/table/messages.txt:4: quoted text without its closing quote",
                               "data/table/messages.txt:5: message 26 defined twice",
                               "data/table/messages.txt:6: bad message number 'x1'",
                               "data/table/messages.txt:7: bad message number '0'",
                               "data/table/messages.txt:8: not a message line (NUMBER \"TEXT\")",
                               "data/table/messages.txt:9: not a message line (NUMBER \"TEXT\")",
                               "data/table/messages.txt:10: not a message line (NUMBER \"TEXT\")",
                               "data/table/messages.txt:11: empty text for message 32",
                               "data/table/messages.txt:12: not a message line (NUMBER \"TEXT\")",
                               "data/table/messages.txt:14: text of message 35 is 256 bytes; at most 255 fit",
                           }));
  ASSERT_EQ(data.messages.size(), 4u);
  EXPECT_EQ(data.messages[0].id, 26);
  EXPECT_EQ(data.messages[0].text, "THE MAP IS MISSING.");
  EXPECT_EQ(data.messages[1].id, 27);
  EXPECT_EQ(data.messages[1].text, "READY");
  EXPECT_EQ(data.messages[2].id, 34);
  EXPECT_EQ(data.messages[2].text, longest);
  EXPECT_EQ(data.messages[3].id, 36);
  EXPECT_EQ(data.messages[3].text, "WAIT!");
}
