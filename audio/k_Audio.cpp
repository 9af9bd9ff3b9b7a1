#include "audio/k_Audio.h"

#include <algorithm>
#include <memory>

#include "Failure.h"
#include "IFileSystem.h"

namespace {

constexpr DWORD kExpectedVersion = 0x0204;
constexpr int kVersionShift = 16;
constexpr int kDefaultDevice = -1;
constexpr DWORD kOutputFrequency = 44100;
constexpr DWORD kMusicFlags = BASS_SAMPLE_LOOP | BASS_MUSIC_RAMPS;
constexpr BOOL kFromMemory = kBassTrue;
constexpr BOOL kRestart = kBassTrue;
// The mixer adds every sound and the music and cuts off what goes beyond full scale, so both
// play below full volume. Sounds at 40 % (-8 dB): the two loudest sounds started together
// peak at 1.85 of full scale. The music at 20 % (-14 dB): its loudest moment (0.6) added to
// those two stays under full scale, and even the softest bounce stands 6 dB above its level.
constexpr DWORD kStreamVolume = BASS_GVOL_FULL * 4 / 10;
constexpr DWORD kMusicVolume = BASS_GVOL_FULL / 5;
constexpr int kFullPercent = 100;

DWORD ScaledVolume(DWORD volume, int percent) {
    return volume * static_cast<DWORD>(std::clamp(percent, 0, kFullPercent)) / kFullPercent;
}

}  // namespace

k_Audio::k_Audio(IFileSystem* fileSystem) : fileSystem(fileSystem) {}

// Streams and music go before the device that plays them.
k_Audio::~k_Audio() {
    for (const auto& [name, stream] : sounds) {
        if (stream != 0) {
            BASS_StreamFree(stream);
        }
    }
    StopMusic();
    if (deviceOpen) {
        BASS_Free();
    }
}

void k_Audio::Open(WindowHandle window) {
    if (BASS_GetVersion() >> kVersionShift != kExpectedVersion) {
        throw k_Failure(L"BASS :: An incorrect version of BASS.DLL was loaded!");
    }
    if (!BASS_Init(kDefaultDevice, kOutputFrequency, 0, window, nullptr)) {
        throw k_Failure(L"BASS :: Can't initialize audio device!");
    }
    deviceOpen = true;
    SetVolumes(musicPercent, effectsPercent);
}

void k_Audio::SetVolumes(int music, int effects) {
    musicPercent = music;
    effectsPercent = effects;
    BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, ScaledVolume(kStreamVolume, effects));
    BASS_SetConfig(BASS_CONFIG_GVOL_MUSIC, ScaledVolume(kMusicVolume, music));
}

// The stream decodes the file's bytes when it is created, so the file may go right after.
void k_Audio::PlaySound(const std::wstring& name) {
    HSTREAM& stream = sounds[name];
    if (stream != 0) {
        BASS_StreamFree(stream);
        stream = 0;
    }
    std::unique_ptr<IFile> file = fileSystem->Open(name);
    if (!file) {
        return;
    }
    stream = BASS_StreamCreateFile(kFromMemory, file->GetData(), 0, file->GetSize(), 0);
    if (stream == 0) {
        throw k_Failure(L"BASS :: Can't create the stream! " + name);
    }
    if (!BASS_ChannelPlay(stream, kRestart)) {
        throw k_Failure(L"BASS :: Can't start playback!");
    }
}

// The music keeps its own copy of the module, so the file may go right after loading. The
// previous module is stopped and freed first, so that two never overlap or leak.
void k_Audio::PlayMusic(const std::wstring& name) {
    std::unique_ptr<IFile> file = fileSystem->Open(name);
    if (!file) {
        return;
    }
    StopMusic();
    music = BASS_MusicLoad(kFromMemory, file->GetData(), 0, file->GetSize(), kMusicFlags, 0);
    if (!BASS_ChannelPlay(music, kRestart)) {
        throw k_Failure(L"BASS :: Can't start playback!");
    }
}

void k_Audio::StopMusic() {
    if (music == 0) {
        return;
    }
    BASS_ChannelStop(music);
    BASS_MusicFree(music);
    music = 0;
}
