#pragma once

// The program's own user-visible texts, character for character (odd spacing and spelling
// included: the processor's users know them). Everything the user reads comes from here.

namespace kvr::core::texts {

// ---- Main window and start-up ----------------------------------------------------------

// ---- Configuration files ---------------------------------------------------------------

// ---- Crossover and dynamics design -----------------------------------------------------

// Bessel low-pass above its order's limit: start + order + middle + limit (shortest decimal form).
inline constexpr char kBesselLimitStart[] = "Cutoff Frequency of Bessel LowPass filter of order ";
inline constexpr char kBesselLimitMiddle[] = " is limited to ";

// ---- Device image, libraries and operating-system files --------------------------------

// ---- Listings, report and power check --------------------------------------------------

// ---- Links and connection --------------------------------------------------------------

// ---- Transfer protocol and device operations -------------------------------------------

// ---- Ethernet modules ------------------------------------------------------------------

// ---- Library maker ---------------------------------------------------------------------

// ---- End of texts ----------------------------------------------------------------------

} // namespace kvr::core::texts
