#pragma once
// Counts the global operator new calls made while counting is on. Linking
// allocation_counter.cpp replaces operator new and delete for the whole binary.

namespace orvane::test {

void StartCountingAllocations();
long StopCountingAllocations();  // the calls since StartCountingAllocations()

}  // namespace orvane::test
