#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kvr::core {

// Which input channel an output takes its signal from (stored in files and images).
enum class RouteSource : int32_t { A = 0, AB = 1, B = 2 };

// The three input channels in the order files keep them: A, B, A+B (the mix, letter M).
enum class InputId : int { A = 0, B = 1, M = 2 };
constexpr int kInputCount = 3;
constexpr int kOutputCount = 4;

constexpr int kRoutingModeCount = 8;
constexpr int32_t kRoutingModeFree = 5;

struct RoutingModeInfo {
    std::string_view item; // text of the mode list
    std::array<RouteSource, kOutputCount> routes;
    // Modes 6 and 7 replace the output names shown on the output buttons.
    std::optional<std::array<std::string_view, kOutputCount>> captions;
};

const RoutingModeInfo& routingModeInfo(int mode);

RouteSource routeFromCode(int64_t code); // out-of-range codes give input A
InputId inputForRoute(RouteSource route);
// The route button cycles A -> A+B -> B -> A.
RouteSource nextRoute(RouteSource route);
// Text of a route as the report and the summaries show it: "A", "A+B", "B".
std::string_view routeText(RouteSource route);

// The input equaliser's bank selector for a route picks PEQA (0), PEQM (1) or PEQB (2).
InputId bankForSelector(int selector);

} // namespace kvr::core
