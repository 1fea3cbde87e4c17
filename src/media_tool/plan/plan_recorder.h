// The events of a run as the simulated Windows reports them, with the time
// since the run began. A dialog's event gathers the user's clicks in it as
// its answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_context.h"

// An effect of the run, its time counted from the start of the run.
using PlanEvent = sim::SimEffect;

class PlanRecorder {
public:
    // Watches the context from now until it goes.
    explicit PlanRecorder(sim::SimContext& context);
    ~PlanRecorder();
    PlanRecorder(const PlanRecorder&) = delete;
    PlanRecorder& operator=(const PlanRecorder&) = delete;

    const std::vector<PlanEvent>& Events() const { return m_events; }

private:
    void Receive(const sim::SimEffect& effect);
    void AddToAnswer(const sim::SimEffect& click);

    sim::SimContext& m_context;
    std::uint64_t m_start;
    std::vector<PlanEvent> m_events;
};
