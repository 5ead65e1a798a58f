// play_sound.h: the sounds the module asks for (PlaySoundA ids), played from
// "sound/<id>.wav" of the game file system through SDL audio. Ids without a
// file, or a machine without audio, stay silent.
#pragma once
#include <SDL2/SDL_audio.h>

#include <map>
#include <vector>

class SoundPlayer {
 public:
  SoundPlayer() = default;
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts the sound of this id over whatever is playing.
  void Play(int id);

 private:
  struct Voice {
    const std::vector<Uint8>* samples;
    size_t position;
  };
  bool OpenDevice();
  // The id's sound in the device format; null when it has none.
  const std::vector<Uint8>* Samples(int id);
  static void Mix(void* self, Uint8* stream, int length);

  SDL_AudioDeviceID device_ = 0;
  bool failed_ = false;
  SDL_AudioSpec spec_{};
  std::map<int, std::vector<Uint8>> sounds_;   // converted; empty: no file
  std::vector<Voice> voices_;                  // guarded by the device lock
};
