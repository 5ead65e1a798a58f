// sound_ids.h: the ids of the sounds that controls ask the host to play
// (PlaySoundA).
#pragma once

inline constexpr int kSoundClick = 40010;          // a button released
inline constexpr int kSoundPress = 40020;          // a captioned button pressed
inline constexpr int kSoundEnterPlain = 40030;     // the mouse enters a button without caption
inline constexpr int kSoundEnterCaption = 40031;   // the mouse enters a captioned button
inline constexpr int kSoundRotate = 40040;         // a rotate button steps
