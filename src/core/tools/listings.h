#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

// Coefficient listings: the designed coefficients and per-DSP control values as text in the
// DSP assembler's syntax (".float" / ".word" directives, ";" comments).

namespace kvr::core {

enum class ListingKind { Peq1, Peq2, Dsp1, Dsp2, Xover1, Xover2, Xover3, Xover4, Dynamics };

struct ListingInputs {
    std::string dateTime;         // the clock, given by the caller
    std::string equalisationName; // the name of the current equalisation
    bool peq2ListsPeqa = false;   // the main window's PEQ switch in its alternative state
};

// The listing of one memo, designed from the Configuration's parameters (the Configuration
// itself is not changed).
std::vector<std::string> coefficientListing(const Configuration& config, ListingKind kind, const ListingInputs& inputs);

// The listing a dynamics stage keeps of itself.
std::vector<std::string> dynamicsListing(const TDYNAMIC& dyn);

// ";Filtro " + word + " frec: " + ... ; empty for a type without a listing word.
std::string sectionDescription(const TSOS& section);

// The file a listing is saved as: dsp1data.asm, peq1.coe, xover1.coe, ...; empty for dynamics.
std::string listingFileName(ListingKind kind);

} // namespace kvr::core
