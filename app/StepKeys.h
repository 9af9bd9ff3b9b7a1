// The keys that steer one fixed step of the game: what a run records and a replay plays back.
// A player's keys reach the window's key table as key messages; a replay sends its recorded
// keys through the same messages, so both read the table the same way.
#pragma once

#include <array>
#include <cstdint>

#include "app/GameSettings.h"

class IEngine;
class IWindow;

using StepKeys = std::uint8_t;

constexpr StepKeys kStepLeft = 1;
constexpr StepKeys kStepRight = 2;
constexpr StepKeys kStepUp = 4;
constexpr StepKeys kStepDown = 8;
constexpr StepKeys kStepEnter = 16;
// The menu's Restart, carried out at the step, so that a replay restarts where the run did.
constexpr StepKeys kStepRestart = 32;
// Every bit a step may hold; a recording with another bit set is not ours.
constexpr StepKeys kAllStepKeys = kStepLeft | kStepRight | kStepUp | kStepDown | kStepEnter | kStepRestart;

// Binds the steering actions to the player's keyboard keys and controller buttons (by
// KeyAction; the menu key is not a step key), both for the steps and for the engine's steering.
// Until called the defaults steer.
void BindStepKeys(IEngine& engine, const std::array<int, kKeyActionCount>& keys,
                  const std::array<int, kKeyActionCount>& pads);

// The step keys one key or button stands for: its action's bit, or 0.
StepKeys StepKeysOfKey(int virtualKey);

// The step keys held in the window's key table now.
StepKeys ReadStepKeys(IWindow& window);

// Makes the window's key table hold exactly these step keys (their keyboard keys), sending a key-down or key-up
// message through the window for each key that differs.
void PressStepKeys(IWindow& window, StepKeys keys);

// Whether the virtual key is one of the step keys.
bool IsStepKey(int virtualKey);

// The ball's look for the step keys (k_Ball::StateForKeys).
int BallStateFromKeys(StepKeys keys);
