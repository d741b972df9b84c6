#include "runtime/FaultProbe.h"

// The sanitizers would stop both faults before the instruction runs; the point here is that it
// runs. The operands are volatile so that the compiler can neither fold nor drop the operation.
namespace velinor::runtime {

__attribute__((noinline, no_sanitize("integer-divide-by-zero")))
int DivideByZero() {
    volatile int dividend = 1;
    volatile int divisor = 0;
    return dividend / divisor;  // line-mark: division
}

__attribute__((noinline, no_sanitize("address", "null")))
void WriteThroughNull() {
    volatile int* volatile target = nullptr;
    *target = 1;  // line-mark: null-write
}

}  // namespace velinor::runtime

// The fault report names the source lines of the division and of the write above; its tests
// find those lines by their line-mark comments.
