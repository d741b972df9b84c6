#pragma once

// Real processor faults raised on purpose in the program's own code, so that the fault report
// can be seen and tested end to end.
namespace velinor::runtime {

// Divides an integer by zero: the processor raises a divide error.
int DivideByZero();

// Writes through a null pointer: the processor raises a page fault.
void WriteThroughNull();

}  // namespace velinor::runtime
