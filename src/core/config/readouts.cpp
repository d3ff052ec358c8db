#include "config/readouts.h"

#include "config/conversions.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

std::string levelText(int position)
{
    return formatFixed(levelDbFromPosition(position), 1);
}

InputDelayReadout inputDelayReadout(int positionCm, int celsius)
{
    const double cm = positionCm;
    return {formatFixed(metresFromCm(cm), 2), formatFixed(feetFromCm(cm), 2),
            formatFixed(inputDelayMsFromCm(positionCm, celsius), 2)};
}

OutputDelayReadout outputDelayReadout(int position, int celsius)
{
    const double ms = outputDelayMsFromPosition(clampTo(position, 0, kOutputDelayPositionMax));
    const double cm = delayCmFromMs(ms, celsius);
    return {formatFixed(ms, 2), formatFixed(cm, 1), formatFixed(feetFromCm(cm), 1)};
}

std::string copyOutputQuestion(int from, int to)
{
    return texts::kCopyQuestionPrefix + std::to_string(from) + texts::kCopyQuestionMiddle + std::to_string(to) +
           texts::kCopyQuestionSuffix;
}

} // namespace kvr::core
