// sound_ids.h: the ids of the sounds that controls and screens ask the host
// to play (PlaySoundA), each named once.
#pragma once

inline constexpr int kSoundClick = 40010;          // a button released
inline constexpr int kSoundPress = 40020;          // a captioned button pressed
inline constexpr int kSoundEnterPlain = 40030;     // the mouse enters a button without caption
inline constexpr int kSoundEnterCaption = 40031;   // the mouse enters a captioned button
inline constexpr int kSoundRotate = 40040;         // a rotate button steps
inline constexpr int kSoundChooseMap = 40041;       // a map chosen in the create menu

inline constexpr int kSoundTypeChar = 62001;        // the typewriter reveals a character
inline constexpr int kSoundTypeLineEnd = 62002;     // the typewriter finishes a line

inline constexpr int kSoundChatLine = 60010;        // a chat line arrives during the match
inline constexpr int kSoundMatchOver = 60020;       // the score table or game-over screen opens
inline constexpr int kSoundEventMessage1 = 63001;   // the event message lines 1-5 show a text
inline constexpr int kSoundEventMessage2 = 63002;
inline constexpr int kSoundEventMessage3 = 63003;
inline constexpr int kSoundEventMessage4 = 63004;
inline constexpr int kSoundEventMessage5 = 63005;
inline constexpr int kSoundRadarNoise = 70040;      // the radar is jammed
