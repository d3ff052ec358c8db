#pragma once

#include <cstdint>
#include <initializer_list>

#include "config/routing.h"

namespace kvr::gui {

// The parts of the Configuration an edit can touch. Windows redraw only the regions they show.
enum class Region : uint16_t {
    Routing = 1 << 0,      // routing mode and the outputs' routes
    Levels = 1 << 1,       // gains, mutes and polarity
    InputDelays = 1 << 2,  // input delays, temperature and their links
    OutputDelays = 1 << 3, // output delays and their links
    InputEq = 1 << 4,      // the input banks PEQA, PEQB, PEQM (sections, counts, sources, views)
    OutputEq = 1 << 5,     // the output banks PEQX1..4 and their views
    Crossover = 1 << 6,    // crossover sides and their links
    Dynamics = 1 << 7,     // dynamics stages with their speaker and amplifier data
    Names = 1 << 8,        // input and output names
    SystemInfo = 1 << 9,   // system name, project, installation, engineer, comment
    View = 1 << 10,        // influences of the output view
    Measurement = 1 << 11, // measured responses and their import settings
};

// What one edit (or one undo step) touched: regions, and which outputs and inputs of them.
class DocumentChange {
public:
    static constexpr uint8_t kAllOutputs = 0x0F;
    static constexpr uint8_t kAllInputs = 0x07;

    DocumentChange() = default;
    // Every output and input of the given regions.
    explicit DocumentChange(Region region) : m_regions(static_cast<uint16_t>(region)) {}
    // Output n (1..4) of a region.
    static DocumentChange output(Region region, int n)
    {
        DocumentChange c(region);
        c.m_outputs = static_cast<uint8_t>(1u << (n - 1));
        c.m_inputs = 0;
        return c;
    }
    static DocumentChange input(Region region, core::InputId id)
    {
        DocumentChange c(region);
        c.m_outputs = 0;
        c.m_inputs = static_cast<uint8_t>(1u << static_cast<int>(id));
        return c;
    }
    // A Configuration replaced as a whole (New, Open, a read, an undo of one of them).
    static DocumentChange everything()
    {
        DocumentChange c;
        c.m_regions = 0xFFFF;
        return c;
    }

    bool empty() const { return m_regions == 0; }
    bool touches(Region region) const { return (m_regions & static_cast<uint16_t>(region)) != 0; }
    bool touches(Region region, int output) const { return touches(region) && (m_outputs & (1u << (output - 1))) != 0; }
    bool touches(Region region, core::InputId id) const
    {
        return touches(region) && (m_inputs & (1u << static_cast<int>(id))) != 0;
    }
    bool touchesAny(std::initializer_list<Region> regions) const
    {
        for (Region r : regions)
            if (touches(r)) return true;
        return false;
    }

    // An empty change adds nothing: its masks ("every output") must not widen the other side.
    DocumentChange& operator|=(const DocumentChange& other)
    {
        if (other.empty()) return *this;
        if (empty()) return *this = other;
        m_regions |= other.m_regions;
        m_outputs |= other.m_outputs;
        m_inputs |= other.m_inputs;
        return *this;
    }
    friend DocumentChange operator|(DocumentChange a, const DocumentChange& b) { return a |= b; }
    bool operator==(const DocumentChange&) const = default;

private:
    uint16_t m_regions = 0;
    uint8_t m_outputs = kAllOutputs;
    uint8_t m_inputs = kAllInputs;
};

} // namespace kvr::gui
