#include "config/labels.h"

#include "util/numtext.h"

namespace kvr::core {

std::string gainLabel(double db) { return formatFixed(db, 1) + " dB"; }

std::string delayLabel(double ms) { return formatFixed(ms, 2) + " ms"; }

std::string bankName(InputId bank)
{
    switch (bank) {
    case InputId::B: return "PEQB";
    case InputId::M: return "PEQM";
    case InputId::A: break;
    }
    return "PEQA";
}

std::string peqSourceCaption(const Configuration& config, InputId input)
{
    return bankName(bankForSelector(config.input(input).peqSource));
}

} // namespace kvr::core
