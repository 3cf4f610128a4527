// The test program's operator new, which a test can make fail on purpose to
// see how the engine meets running out of memory.
#pragma once

namespace psola_test {

// Allocation `n` from now (0: the very next) fails, as std::bad_alloc or, for
// a nothrow new, as a null pointer; every one after it succeeds again. -1
// lets them all succeed.
void failAllocation(long n);
// How many allocations were left to go before the failing one; negative once
// it has failed (or when none is armed).
long allocationsBeforeFailure();

}  // namespace psola_test
