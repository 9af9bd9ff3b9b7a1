// The audio library calls the engine uses: a version check, one output device, looping music
// modules and one-shot streams, both made from memory blocks, with play, stop and free.
// Implemented on SDL2_mixer; its types stay inside audio/. Handles are non-zero 32-bit
// values that are never reused; an unknown handle makes a call fail, never crash.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using QWORD = std::uint64_t;
using BOOL = int;
using HMUSIC = DWORD;
using HSTREAM = DWORD;

constexpr BOOL kBassFalse = 0;
constexpr BOOL kBassTrue = 1;

// The interface version this layer offers: 2.4 in the high word.
constexpr DWORD BASSVERSION = 0x0204;
constexpr DWORD BASS_SAMPLE_LOOP = 0x4;
constexpr DWORD BASS_MUSIC_RAMPS = 0x400;  // accepted and ignored: the mixer has no ramping
constexpr DWORD BASS_CONFIG_GVOL_STREAM = 5;  // the volume of every stream
constexpr DWORD BASS_CONFIG_GVOL_MUSIC = 6;   // the volume of the music
constexpr DWORD BASS_GVOL_FULL = 10000;       // global volumes go from 0 (silent) to this
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;

// The layer's version: BASSVERSION in the high word.
DWORD BASS_GetVersion();

// Opens the output device (-1 is the default device) at freq hertz, 16-bit stereo. flags,
// window and clsid are accepted for the interface's sake. Fails when the device is open already
// or cannot be opened.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* clsid);

// Sets the global stream or music volume (0 to BASS_GVOL_FULL, the default) for what plays
// now and later; it outlasts the device. Fails for another option or a volume above full.
BOOL BASS_SetConfig(DWORD option, DWORD value);

// Frees every music and stream still allocated, then closes the device. Fails when it is not open.
BOOL BASS_Free();

// A music module from length bytes at file + offset (mem must be true: files on disk are not
// read here). The layer keeps its own copy of the bytes until BASS_MusicFree. BASS_SAMPLE_LOOP
// makes it loop until stopped. The mixer has one music channel: playing a module stops any
// other. Returns 0 on failure.
HMUSIC BASS_MusicLoad(BOOL mem, const void* file, QWORD offset, DWORD length, DWORD flags, DWORD freq);

// A stream of a WAV or Ogg file from length bytes at file + offset (mem must be true). The
// bytes are decoded during the call, so the caller may release them afterwards. Returns 0
// on failure.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);

// Starts a music or stream from its beginning when restart is true or it is not playing.
// A stream takes a free mixer channel; when none is free the channels are doubled.
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelStop(DWORD handle);
// BASS_ACTIVE_PLAYING while the handle's music or stream plays, else BASS_ACTIVE_STOPPED.
DWORD BASS_ChannelIsActive(DWORD handle);

// Halt, then free; the handle is unknown afterwards.
BOOL BASS_MusicFree(HMUSIC handle);
BOOL BASS_StreamFree(HSTREAM handle);

// Test seam: BASS_GetVersion reports version instead of its own; 0 restores its own.
void BassReportVersionForTesting(DWORD version);
