#include "runtime/FaultProbe.h"

// The sanitizers would stop both faults before the instruction runs; the point here is that it
// runs. The operands are volatile so that the compiler can neither fold nor drop the operation.
namespace velinor::runtime {

__attribute__((noinline, no_sanitize("integer-divide-by-zero")))
int DivideByZero() {
    volatile int dividend = 1;
    volatile int divisor = 0;
    return dividend / divisor;
}

__attribute__((noinline, no_sanitize("address", "null")))
void WriteThroughNull() {
    volatile int* volatile target = nullptr;
    *target = 1;
}

}  // namespace velinor::runtime

// The scenario logs of the fault report name the lines of the division and of the write above:
// moving them means writing those logs anew.
