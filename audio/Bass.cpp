// The audio library calls on SDL2_mixer. Every allocated music or stream is an entry under
// its handle; a stream's mixer channel is its own only while that channel plays the
// stream's chunk, since the mixer hands finished channels to the next sound.
#include "audio/Bass.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <map>
#include <vector>

namespace {

constexpr int kDefaultDevice = -1;
constexpr Uint16 kSampleFormat = AUDIO_S16SYS;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
constexpr int kInitialMixerChannels = 16;
constexpr int kLoopForever = -1;
constexpr int kPlayOnce = 0;
constexpr int kAnyChannel = -1;
constexpr int kQueryOnly = -1;

struct Entry {
    Mix_Chunk* chunk = nullptr;        // a stream's decoded sound
    Mix_Music* music = nullptr;        // a music module
    std::vector<std::uint8_t> bytes;   // the module's file, read by the mixer while it plays
    int loops = kPlayOnce;
    int channel = -1;                  // the mixer channel a stream last started on
};

struct Library {
    bool open = false;
    DWORD reportedVersion = 0;
    DWORD lastHandle = 0;
    DWORD playingMusic = 0;
    DWORD streamVolume = BASS_GVOL_FULL;
    DWORD musicVolume = BASS_GVOL_FULL;
    std::map<DWORD, Entry> entries;
};

Library& State() {
    static Library library;
    return library;
}

Entry* Find(DWORD handle) {
    auto found = State().entries.find(handle);
    return found == State().entries.end() ? nullptr : &found->second;
}

// The next unused non-zero handle.
DWORD AddEntry(Entry entry) {
    Library& library = State();
    do {
        ++library.lastHandle;
    } while (library.lastHandle == 0 || library.entries.count(library.lastHandle) != 0);
    library.entries.emplace(library.lastHandle, std::move(entry));
    return library.lastHandle;
}

// Whether the device is open and a memory block is one the mixer can read.
bool IsUsableBlock(BOOL mem, const void* file, QWORD offset, QWORD length) {
    return State().open && mem && file != nullptr && length != 0 && length <= INT_MAX && offset <= INT_MAX;
}

const std::uint8_t* BlockStart(const void* file, QWORD offset) {
    return static_cast<const std::uint8_t*>(file) + offset;
}

int LoopsFor(DWORD flags) { return (flags & BASS_SAMPLE_LOOP) ? kLoopForever : kPlayOnce; }

// A global volume on the mixer's scale, rounded to the nearest step.
int MixerVolume(DWORD volume) { return static_cast<int>((volume * MIX_MAX_VOLUME + BASS_GVOL_FULL / 2) / BASS_GVOL_FULL); }

void ApplyStreamVolume() {
    for (auto& [handle, entry] : State().entries) {
        if (entry.chunk) {
            Mix_VolumeChunk(entry.chunk, MixerVolume(State().streamVolume));
        }
    }
}

bool StreamIsPlaying(const Entry& entry) {
    return entry.channel >= 0 && Mix_Playing(entry.channel) && Mix_GetChunk(entry.channel) == entry.chunk;
}

bool MusicIsPlaying(DWORD handle) { return State().playingMusic == handle && Mix_PlayingMusic(); }

// On a free channel; when every channel is busy, twice as many channels (never fewer, since
// shrinking would halt the channels cut off).
int PlayOnFreeChannel(Entry& entry) {
    int channel = Mix_PlayChannel(kAnyChannel, entry.chunk, entry.loops);
    if (channel < 0) {
        Mix_AllocateChannels(2 * Mix_AllocateChannels(kQueryOnly));
        channel = Mix_PlayChannel(kAnyChannel, entry.chunk, entry.loops);
    }
    return channel;
}

BOOL PlayStream(Entry& entry, BOOL restart) {
    if (StreamIsPlaying(entry)) {
        if (!restart) {
            return kBassTrue;
        }
        return Mix_PlayChannel(entry.channel, entry.chunk, entry.loops) >= 0 ? kBassTrue : kBassFalse;
    }
    entry.channel = PlayOnFreeChannel(entry);
    return entry.channel >= 0 ? kBassTrue : kBassFalse;
}

BOOL PlayMusic(DWORD handle, Entry& entry, BOOL restart) {
    if (MusicIsPlaying(handle) && !restart) {
        return kBassTrue;
    }
    Mix_VolumeMusic(MixerVolume(State().musicVolume));
    if (Mix_PlayMusic(entry.music, entry.loops) != 0) {
        return kBassFalse;
    }
    State().playingMusic = handle;
    return kBassTrue;
}

void HaltAndFree(DWORD handle, Entry& entry) {
    if (entry.music) {
        if (MusicIsPlaying(handle)) {
            Mix_HaltMusic();
        }
        if (State().playingMusic == handle) {
            State().playingMusic = 0;
        }
        Mix_FreeMusic(entry.music);
    } else {
        if (StreamIsPlaying(entry)) {
            Mix_HaltChannel(entry.channel);
        }
        Mix_FreeChunk(entry.chunk);
    }
}

}  // namespace

DWORD BASS_GetVersion() {
    DWORD reported = State().reportedVersion;
    return reported != 0 ? reported : BASSVERSION << 16;
}

void BassReportVersionForTesting(DWORD version) { State().reportedVersion = version; }

BOOL BASS_Init(int device, DWORD freq, DWORD, void*, const void*) {
    Library& library = State();
    if (library.open || device != kDefaultDevice || freq == 0 || freq > INT_MAX) {
        return kBassFalse;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return kBassFalse;
    }
    Mix_Init(MIX_INIT_MOD | MIX_INIT_OGG);
    if (Mix_OpenAudio(static_cast<int>(freq), kSampleFormat, kOutputChannels, kBufferFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return kBassFalse;
    }
    Mix_AllocateChannels(kInitialMixerChannels);
    library.open = true;
    return kBassTrue;
}

BOOL BASS_SetConfig(DWORD option, DWORD value) {
    Library& library = State();
    if (value > BASS_GVOL_FULL) {
        return kBassFalse;
    }
    if (option == BASS_CONFIG_GVOL_STREAM) {
        library.streamVolume = value;
        ApplyStreamVolume();
    } else if (option == BASS_CONFIG_GVOL_MUSIC) {
        library.musicVolume = value;
        if (library.open) {
            Mix_VolumeMusic(MixerVolume(value));
        }
    } else {
        return kBassFalse;
    }
    return kBassTrue;
}

BOOL BASS_Free() {
    Library& library = State();
    if (!library.open) {
        return kBassFalse;
    }
    for (auto& [handle, entry] : library.entries) {
        HaltAndFree(handle, entry);
    }
    library.entries.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    library.open = false;
    return kBassTrue;
}

HMUSIC BASS_MusicLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD flags, DWORD) {
    if (!IsUsableBlock(mem, file, offset, length)) {
        return 0;
    }
    Entry entry;
    entry.bytes.assign(BlockStart(file, offset), BlockStart(file, offset) + length);
    entry.music = Mix_LoadMUS_RW(SDL_RWFromConstMem(entry.bytes.data(), static_cast<int>(length)), 1);
    if (entry.music == nullptr) {
        return 0;
    }
    entry.loops = LoopsFor(flags);
    return AddEntry(std::move(entry));
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    if (!IsUsableBlock(mem, file, offset, length)) {
        return 0;
    }
    Entry entry;
    entry.chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(BlockStart(file, offset), static_cast<int>(length)), 1);
    if (entry.chunk == nullptr) {
        return 0;
    }
    Mix_VolumeChunk(entry.chunk, MixerVolume(State().streamVolume));
    entry.loops = LoopsFor(flags);
    return AddEntry(std::move(entry));
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
    Entry* entry = Find(handle);
    if (entry == nullptr) {
        return kBassFalse;
    }
    return entry->music ? PlayMusic(handle, *entry, restart) : PlayStream(*entry, restart);
}

BOOL BASS_ChannelStop(DWORD handle) {
    Entry* entry = Find(handle);
    if (entry == nullptr) {
        return kBassFalse;
    }
    if (entry->music && MusicIsPlaying(handle)) {
        Mix_HaltMusic();
    } else if (entry->chunk && StreamIsPlaying(*entry)) {
        Mix_HaltChannel(entry->channel);
    }
    return kBassTrue;
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    Entry* entry = Find(handle);
    bool playing = entry && (entry->music ? MusicIsPlaying(handle) : StreamIsPlaying(*entry));
    return playing ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_STOPPED;
}

BOOL BASS_MusicFree(HMUSIC handle) {
    Entry* entry = Find(handle);
    if (entry == nullptr || entry->music == nullptr) {
        return kBassFalse;
    }
    HaltAndFree(handle, *entry);
    State().entries.erase(handle);
    return kBassTrue;
}

BOOL BASS_StreamFree(HSTREAM handle) {
    Entry* entry = Find(handle);
    if (entry == nullptr || entry->chunk == nullptr) {
        return kBassFalse;
    }
    HaltAndFree(handle, *entry);
    State().entries.erase(handle);
    return kBassTrue;
}
