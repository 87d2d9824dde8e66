// The allocation meter over the shared allocation hook, which replaces the
// global operator new and delete of the whole benchmark binary, the library
// included.
#include "AllocationCounter.h"

#include <allocation/AllocationHook.h>

namespace VarnekBench {

AllocationMeter::AllocationMeter(benchmark::State& state, double targetPerCall)
    : m_state(state), m_target(targetPerCall), m_start(VarnekSupport::allocationCount()) {}

AllocationMeter::~AllocationMeter() {
    const auto made = static_cast<double>(VarnekSupport::allocationCount() - m_start);
    m_state.counters["allocs"] = benchmark::Counter(made, benchmark::Counter::kAvgIterations);
    if (m_target >= 0.0) {
        m_state.counters["allocs_target"] = benchmark::Counter(m_target);
    }
}

}  // namespace VarnekBench
