#pragma once

// The program's own user-visible texts, character for character (odd spacing and spelling
// included: the processor's users know them). Everything the user reads comes from here.

namespace kvr::core::texts {

// ---- Main window and start-up ----------------------------------------------------------

// ---- Configuration files ---------------------------------------------------------------
inline constexpr const char* kNotAKvrFile = " is not a KVR 610 File";
inline constexpr const char* kOlderKvrFile =
    " is not a KVR 610 File or is an older version (then re-save the file to translate it to VERSION 4.70";
inline constexpr const char* kOpeningFile = "Opening ";
inline constexpr const char* kLoadReadingHeader = "Reading VERSION and HEADER...";
inline constexpr const char* kLoadReadingGains = "Reading Gains, Delays and Polarity...";
inline constexpr const char* kLoadReadingPeq = "Reading and Designing PEQ Equalization...";
inline constexpr const char* kLoadReadingPeqx = "Reading and Designing PEQX Equalization...";
inline constexpr const char* kLoadReadingXover = "Reading and Designing XOVER... ";
inline constexpr const char* kLoadReadingDynamics = "Reading and Designing Dynamics...";
inline constexpr const char* kLoadDone = "DONE";
inline constexpr const char* kProgressCaption = "Opening KVR 610  File";
inline constexpr const char* kUnableToOpen = "Unable to open ";
inline constexpr const char* kUnableToRead = "Unable to read ";
inline constexpr const char* kUnableToWrite = "Unable to write ";

// ---- Crossover and dynamics design -----------------------------------------------------
// Type lists of the equaliser editors (item index = section type code 0..11).
inline constexpr const char* kSectionTypeCaptions[12] = {
    "Bypass",         "Parametric adapt Q", "Shelv Low 6dB", "Shelv Low 12dB", "Shelv High 6dB", "Shelv High 12dB",
    "LowPass",        "HiPass",             "BandPass",      "StopBand",       "AllPass 1",      "AllPass 2"};
// The output equaliser's list spells item 1 differently.
inline constexpr const char* kOutputParametricCaption = "Parametric adap Q";
// Family list of the crossover editor (item index 0..4).
inline constexpr const char* kCrossoverFamilies[5] = {"ByPass", "ButtW", "L-Riley", "Bessel", "Custom"};

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
