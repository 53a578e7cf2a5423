#pragma once
// What this process holds, read from /proc/self: leaks of descriptors, threads and memory show
// as counts that do not come back after the work that raised them has ended.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

struct TProcessCounts {
    std::size_t Descriptors = 0;
    std::size_t Threads = 0;
    std::uint64_t ResidentBytes = 0;
};

inline TProcessCounts ReadProcessCounts()
{
    TProcessCounts counts;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++counts.Descriptors;
    --counts.Descriptors; // the iterator's own
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        if (key == "Threads:")
            status >> counts.Threads;
        else if (key == "VmRSS:") {
            status >> counts.ResidentBytes;
            counts.ResidentBytes *= 1024;
        }
    }
    return counts;
}
