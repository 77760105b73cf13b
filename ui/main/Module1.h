#pragma once

// The program's free procedures.
namespace Module1 {

// Asks whether to reset and, on Yes, sets the grand total to "0.00"; nothing else changes.
void ResetFigures();

} // namespace Module1
