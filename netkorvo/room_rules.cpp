// room_rules.cpp: choice ranges and the password comparison.
#include "netkorvo/room_rules.h"

#include <algorithm>

#include "host/host_characters.h"
#include "korvogui/room.h"

namespace netkorvo {

bool SChoiceRules::Allows(const wire::SChoice& c) const {
  const bool character = c.character == -1 || (anyCharacter && c.character >= 0) ||
                         std::find(characters.begin(), characters.end(), c.character) != characters.end();
  const auto option = [this](int32_t part) { return part >= -1 && part <= options; };
  return character && option(c.left) && option(c.right) && c.team >= 0 && c.team < teams && c.classIndex >= 0 &&
         c.classIndex < classes && c.ready <= 1;
}

SChoiceRules GameChoiceRules() {
  SChoiceRules rules;
  for (int i = 0; i < GetNumCharacters(); ++i) rules.characters.push_back(GetCharacterID(i));
  rules.anyCharacter = rules.characters.empty();
  rules.options = GUI_GetNumOptions();
  return rules;
}

bool SamePassword(const std::string& given, const std::string& password) {
  // Both are read over the whole room of the field, whatever their lengths.
  uint8_t differ = given.size() == password.size() ? 0 : 1;
  for (size_t i = 0; i < wire::kPasswordRoom; ++i) {
    const uint8_t a = i < given.size() ? uint8_t(given[i]) : 0;
    const uint8_t b = i < password.size() ? uint8_t(password[i]) : 0;
    differ |= uint8_t(a ^ b);
  }
  return differ == 0;
}

}  // namespace netkorvo
