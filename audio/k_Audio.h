// The engine's audio: opens the output device, plays one looping music module and one-shot
// sound streams read whole through the file system. Keeps the last stream of every sound
// file name and the current music; frees streams, music and the device when released.
#pragma once

#include <map>
#include <string>

#include "PlatformTypes.h"
#include "audio/Bass.h"

class IFileSystem;

class k_Audio {
public:
    // The file system is not owned and must outlive this object.
    explicit k_Audio(IFileSystem* fileSystem);
    ~k_Audio();
    k_Audio(const k_Audio&) = delete;
    k_Audio& operator=(const k_Audio&) = delete;

    // Checks the library's version and opens the default device, with the sounds and the music
    // turned down enough that they add up without clipping; raises k_Failure on failure.
    void Open(WindowHandle window);
    // Plays the file once, cutting off the previous stream of the same name. A missing file
    // plays nothing; a file that does not decode raises k_Failure naming it.
    void PlaySound(const std::wstring& name);
    // Replaces the current music with the file, looping. A missing file changes nothing.
    void PlayMusic(const std::wstring& name);
    // Stops and frees the current music, if any.
    void StopMusic();
    // Scales the music and the sounds, in percent of the levels Open sets (100 keeps them,
    // 0 silences); values outside 0..100 are clamped. Takes effect at once, also before Open.
    void SetVolumes(int musicPercent, int effectsPercent);

private:
    IFileSystem* fileSystem;
    bool deviceOpen = false;
    std::map<std::wstring, HSTREAM> sounds;  // 0 after the name's stream is freed
    HMUSIC music = 0;
    int musicPercent = 100;
    int effectsPercent = 100;
};
