// play_sound.cpp: WAV loading, conversion to the device format and a small
// mixer running in SDL's audio callback.
#include "tools/korvoui/play_sound.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "refhost/korvohost.h"

namespace {

// ALSA's library writes each failed lookup of a missing sound card to stderr
// (a dozen lines on a machine without one). Its error handler is global to
// the library, which SDL loads under the same name: a handler that keeps
// quiet is set before SDL opens audio. SDL's own error still says why.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
  void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);   // kept open: the handler stays set
  if (!alsa) return;
  using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&QuietAlsaErrors);
}

}  // namespace

SoundPlayer::~SoundPlayer() {
  if (device_) SDL_CloseAudioDevice(device_);
}

bool SoundPlayer::OpenDevice() {
  if (device_) return true;
  if (failed_) return false;
  failed_ = true;
  SilenceAlsa();
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "korvoui: no sound (%s); playing silently\n", SDL_GetError());
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = 44100;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SoundPlayer::Mix;
  want.userdata = this;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_, 0);
  if (!device_) {
    std::fprintf(stderr, "korvoui: no sound device (%s); playing silently\n", SDL_GetError());
    return false;
  }
  failed_ = false;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

const std::vector<Uint8>* SoundPlayer::Samples(int id) {
  auto it = sounds_.find(id);
  if (it != sounds_.end()) return it->second.empty() ? nullptr : &it->second;
  std::vector<Uint8>& out = sounds_[id];
  std::string bytes;
  if (!korvohost::ReadFile("sound/" + std::to_string(id) + ".wav", &bytes)) return nullptr;
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 length = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
  if (!SDL_LoadWAV_RW(rw, 1, &spec, &data, &length)) return nullptr;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, spec_.format, spec_.channels,
                        spec_.freq) >= 0) {
    std::vector<Uint8> work(size_t(length) * size_t(cvt.len_mult));
    std::memcpy(work.data(), data, length);
    cvt.buf = work.data();
    cvt.len = int(length);
    if (SDL_ConvertAudio(&cvt) == 0) out.assign(work.begin(), work.begin() + cvt.len_cvt);
  }
  SDL_FreeWAV(data);
  return out.empty() ? nullptr : &out;
}

void SoundPlayer::Play(int id) {
  if (!OpenDevice()) return;
  const std::vector<Uint8>* samples = Samples(id);
  if (!samples) return;
  SDL_LockAudioDevice(device_);
  voices_.push_back({samples, 0});
  SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::Mix(void* self, Uint8* stream, int length) {
  auto* player = static_cast<SoundPlayer*>(self);
  std::memset(stream, player->spec_.silence, size_t(length));
  auto& voices = player->voices_;
  for (size_t i = 0; i < voices.size();) {
    Voice& v = voices[i];
    const size_t left = v.samples->size() - v.position;
    const size_t n = left < size_t(length) ? left : size_t(length);
    SDL_MixAudioFormat(stream, v.samples->data() + v.position, player->spec_.format, Uint32(n),
                       SDL_MIX_MAXVOLUME);
    v.position += n;
    if (v.position >= v.samples->size()) voices.erase(voices.begin() + long(i));
    else ++i;
  }
}
