#pragma once
// How the device list page writes the disk figures of a device: capacity, total
// and used share. A value is rounded to the stated decimals (a tie goes to the
// even digit), written in its shortest form with the user's decimal separator,
// and the unit follows without a blank: "80GB", "76.9GB", "512MB", "47%".
//
// The rounding is done on exact integers, not on binary fractions: 6015 KB is
// 6.015 MB exactly and must become 6.02MB, which a double (6.01499...) would not.

#include <cstdint>
#include <string>

namespace orvane {

// Column "HD Capacity": `sectors` of 512 bytes. Above 1953125 sectors (10^9 bytes)
// in GB, from 1954 sectors in MB, both to one decimal; 1953 and below (also 0 and
// negative figures) leave the cell empty.
std::string FormatCapacity(std::int32_t sectors, char decimalSeparator);

// Column "HD Available", which shows the usable total: above 1000000 KB in GB,
// above 6000 KB in MB (1000 KB to the MB), both to two decimals; otherwise "0".
std::string FormatTotal(std::int32_t kb, char decimalSeparator);

// Column "HD Used %": with `availKb` <= 0 the available figure itself as a whole
// number without "%" ("0", "-7"). Otherwise (T - A) / T rounded to two decimals
// and written as a whole percentage, which may be negative or above 100.
//
// Two cases have no sound share and leave the cell empty: a total of 0 (the
// division has no result) and a difference T - A outside the signed 32-bit range
// (only possible with a large negative total, which no disk reports). An empty
// cell says "nothing to show" the same way the capacity column does.
std::string FormatUsed(std::int32_t totalKb, std::int32_t availKb, char decimalSeparator);

}  // namespace orvane
