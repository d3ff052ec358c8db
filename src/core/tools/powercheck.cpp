#include "tools/powercheck.h"

#include <cmath>

#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {
constexpr double kVoltsAtZeroDbu = 0.775;
} // namespace

PowerCheck checkPower(const TDYNAMIC& dyn)
{
    PowerCheck check;
    const size_t last = static_cast<size_t>(clampTo<int32_t>(dyn.NPuntos, 1, kMaxCurvePoints));
    check.maxLevelDbu = dyn.OutputDb[last] + kFullScaleDbu;
    double volts = std::pow(10.0, static_cast<double>(check.maxLevelDbu) / 20.0) * kVoltsAtZeroDbu;
    const double ampVolts = volts * static_cast<double>(dyn.AmpGain);
    double power = ampVolts * ampVolts / static_cast<double>(dyn.Impedance);
    if (dyn.Balanced == 0) {
        // An unbalanced input takes half the amplitude: a quarter of the power.
        power /= 4.0;
        volts /= 2.0;
    }
    check.voltageRms = volts;
    check.powerW = power;
    check.boxWarning = power > static_cast<double>(dyn.BoxPower);
    check.ampWarning = power > static_cast<double>(dyn.AmpPower);
    return check;
}

std::vector<std::string> powerMemoLines(const TDYNAMIC& dyn)
{
    const PowerCheck check = checkPower(dyn);
    std::vector<std::string> lines;
    lines.push_back(texts::kPowerLine + formatFixed(check.powerW, 0) + texts::kPowerWatts);
    lines.push_back(texts::kPowerVoltage + formatFixed(check.voltageRms, 2) + texts::kPowerVrms);
    lines.push_back(check.boxWarning ? texts::kPowerBoxWarning : "");
    lines.push_back(check.ampWarning ? (check.boxWarning ? "3" : "2") + std::string(texts::kPowerAmpWarning) : "");
    return lines;
}

} // namespace kvr::core
