// The keys that steer one fixed step of the game: what a run records and a replay plays back.
// A player's keys reach the window's key table as key messages; a replay sends its recorded
// keys through the same messages, so both read the table the same way.
#pragma once

#include <cstdint>

class IWindow;

using StepKeys = std::uint8_t;

constexpr StepKeys kStepLeft = 1;
constexpr StepKeys kStepRight = 2;
constexpr StepKeys kStepUp = 4;
constexpr StepKeys kStepDown = 8;
constexpr StepKeys kStepEnter = 16;
// Every bit a step may hold; a recording with another bit set is not ours.
constexpr StepKeys kAllStepKeys = kStepLeft | kStepRight | kStepUp | kStepDown | kStepEnter;

// The step keys held in the window's key table now.
StepKeys ReadStepKeys(IWindow& window);

// Makes the window's key table hold exactly these step keys, sending a key-down or key-up
// message through the window for each key that differs.
void PressStepKeys(IWindow& window, StepKeys keys);

// Whether the virtual key is one of the step keys.
bool IsStepKey(int virtualKey);

// The ball's look for the step keys (k_Ball::StateForKeys).
int BallStateFromKeys(StepKeys keys);
