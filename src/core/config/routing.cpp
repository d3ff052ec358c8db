#include "config/routing.h"

#include "util/rounding.h"

namespace kvr::core {

namespace {
using R = RouteSource;
const std::array<RoutingModeInfo, kRoutingModeCount> kModes = {{
    {"4 way Mono", {R::A, R::A, R::A, R::A}, std::nullopt},
    {"3 way Mono + Aux", {R::A, R::A, R::A, R::B}, std::nullopt},
    {"3 way Mono + Sub Mono", {R::A, R::A, R::A, R::AB}, std::nullopt},
    {"2 way Stereo - Free", {R::A, R::A, R::B, R::B}, std::nullopt},
    {"2 way St + Sub Mono + FullRange", {R::A, R::B, R::B, R::A}, std::nullopt},
    {"Free Route", {R::A, R::A, R::A, R::A}, std::nullopt},
    {"2 way Stereo - Copy AB", {R::A, R::A, R::B, R::B},
     std::array<std::string_view, kOutputCount>{"Su A", "Hi A", "Su B", "Hi B"}},
    {"2 way St + Sub Mono + Full Mono", {R::A, R::B, R::AB, R::AB},
     std::array<std::string_view, kOutputCount>{"Hi A", "Hi B", "Su M", "Fu M"}},
}};
} // namespace

const RoutingModeInfo& routingModeInfo(int mode) { return kModes[clampTo(mode, 0, kRoutingModeCount - 1)]; }

RouteSource routeFromCode(int64_t code)
{
    return (code >= 0 && code <= 2) ? static_cast<RouteSource>(code) : RouteSource::A;
}

InputId inputForRoute(RouteSource route)
{
    switch (route) {
    case RouteSource::AB: return InputId::M;
    case RouteSource::B: return InputId::B;
    case RouteSource::A: break;
    }
    return InputId::A;
}

RouteSource nextRoute(RouteSource route)
{
    return static_cast<RouteSource>((static_cast<int>(route) + 1) % 3);
}

std::string_view routeText(RouteSource route)
{
    switch (route) {
    case RouteSource::AB: return "A+B";
    case RouteSource::B: return "B";
    case RouteSource::A: break;
    }
    return "A";
}

InputId bankForSelector(int selector)
{
    switch (selector) {
    case 1: return InputId::M;
    case 2: return InputId::B;
    default: return InputId::A;
    }
}

} // namespace kvr::core
