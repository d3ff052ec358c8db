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
inline constexpr const char* kImageOlderVersion =
    "Memory Stored with older Software version. Unable to read the Configuration.You must store the "
    "configuration with Software version 4.7 or newer.";
inline constexpr const char* kImageIncomplete =
    "The memory image is incomplete or damaged. Unable to read the Configuration.";
inline constexpr const char* kImageBlockTooLarge = "The data of DSP ";
inline constexpr const char* kImageBlockTooLargeEnd = " do not fit into its 2048 bytes. Reduce the number of sections.";
inline constexpr const char* kDesigningConfiguration = "Designing Configuration ";
inline constexpr const char* kDecodeNames = "Designing NAMES and HEADER...";
inline constexpr const char* kDecodeDelays = "Designing DELAYS, GAINS and ROUTES...";
inline constexpr const char* kDecodePeq = "Designing PEQ Equalization...";
inline constexpr const char* kDecodePeqx = "Designing PEQX Equalization...";
inline constexpr const char* kDecodeXover = "Designing XOVER ...";
inline constexpr const char* kDecodeDynamics = "Designing DYNAMICS ...";
inline constexpr const char* kDecodeDone = "DONE";
inline constexpr const char* kMainCaption = "KVR - 610 Loudspeaker Management System ";

inline constexpr const char* kLibraryTooManyFiles =
    "You are selecting more than 38 memories. Only the first 38 memories will be read.";
inline constexpr const char* kLibraryWrongSize = " is not a KVR 610 Library file: a library file holds exactly 239617 bytes.";
inline constexpr const char* kLibraryDamaged = " is not a valid KVR 610 Library file: memory ";
inline constexpr const char* kLibraryDamagedEnd = " does not fit inside the file.";
inline constexpr const char* kLibraryTooManyMemories = " is not a valid KVR 610 Library file: it claims more than 38 memories.";
inline constexpr const char* kLibraryFull = "The library is full: the images do not fit into its buffer.";

inline constexpr const char* kOsNoData = " holds no DSP Operating System data.";
inline constexpr const char* kOsTooLarge = " holds more than 6144 bytes: it is not a DSP Operating System file.";
inline constexpr const char* kOsBadDigit = " is not a DSP Operating System file: line ";
inline constexpr const char* kOsBadDigitMiddle = " has no hexadecimal number at byte ";
inline constexpr const char* kOsShortLine = " is not a DSP Operating System file: line ";
inline constexpr const char* kOsShortLineMiddle = " is too short for its bytes";
inline constexpr const char* kOsMissingLine = " is not a DSP Operating System file: it has fewer lines than its size needs.";
inline constexpr const char* kOsBadName =
    ": the 5th to 7th characters of the file name must give the DSP version (for example snvd047_r.asc).";
inline constexpr const char* kOsBadVersion = ": the DSP version in the file name must be 0 to 255.";
inline constexpr const char* kOsReceivedIncomplete = "The DSP Operating System received is incomplete.";
inline constexpr const char* kOsFileNameStart = "snvd";
inline constexpr const char* kOsFileNameEnd = "_r";

// ---- Listings, report and power check --------------------------------------------------

// ---- Links and connection --------------------------------------------------------------

// ---- Transfer protocol and device operations -------------------------------------------

// ---- Ethernet modules ------------------------------------------------------------------

// ---- Library maker ---------------------------------------------------------------------

// ---- End of texts ----------------------------------------------------------------------

} // namespace kvr::core::texts
