#pragma once

#include <climits>
#include <cstddef>
#include <functional>

// The threads the process spends on file-system work (walking folders,
// reading and hashing files), shared by every walk and scan running at once:
// two scans together never run more of them than one, and a walk or hash
// that finds none free does its work on its own thread. The threads are kept
// for reuse a while after their work ends.
namespace harborlite::IoThreads {

// How many threads the budget holds: the machine's processors, at most 8.
int budget();

// Runs `work` on a thread of the budget and answers true when one is free;
// answers false (and runs nothing) when all are busy.
bool tryStart(std::function<void()> work);

// Calls work(i) for every i below `count`, each once, on the calling thread
// and on as many free threads of the budget as will help, at most
// `mostThreads` threads in all; returns when all calls have returned.
void forEach(std::size_t count, const std::function<void(std::size_t)>& work, int mostThreads = INT_MAX);

} // namespace harborlite::IoThreads
