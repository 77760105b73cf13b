#pragma once

class BetSheet;

namespace race {
inline constexpr int startLeft = 480;   // twips
inline constexpr int stepDistance = 50; // twips
inline constexpr int steps = 151;
} // namespace race

// Settles one bet on the sheet: hides both result labels, runs the horse, shows the win or the
// loss, writes the original stake, the winnings and the race total, and carries the race total
// into the grand total and the running total. Raises a run-time error (division by zero,
// overflow) where a step fails; the steps before it stay done.
void SettleBet(BetSheet& sheet);

// The horse moves from Left 480 in 151 steps of 50 twips; nothing puts it back.
void RaceAnimation(BetSheet& sheet);
