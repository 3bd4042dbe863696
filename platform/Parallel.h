#pragma once
// Work shared between the calling thread and the threads of the program's
// shared pool (QThreadPool::globalInstance()). Only pool threads that are
// free at the moment help: the calling thread never waits for a helper to
// start, so work done on a pool thread, or while the pool is busy, still
// ends. Pool threads are kept between uses, which matters where work takes
// milliseconds and starting a thread would cost a good part of that.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

class PoolHelpers
{
public:
    // Runs work(1), work(2), ... on up to `wanted` pool threads, as many as
    // are free now.
    PoolHelpers(size_t wanted, std::function<void(size_t helper)> work);
    // Waits until every started helper has returned.
    ~PoolHelpers();
    PoolHelpers(const PoolHelpers&) = delete;
    PoolHelpers& operator=(const PoolHelpers&) = delete;

    size_t Count() const { return m_started; }

private:
    std::function<void(size_t)> m_work;
    size_t m_started = 0;
    size_t m_running = 0;
    std::mutex m_mutex;
    std::condition_variable m_ended;
};

// Runs work(i) once for every i below n, on the calling thread and on up to
// `maxHelpers` free pool threads, each taking the next i not yet taken.
void ForEachInParallel(size_t n, const std::function<void(size_t)>& work,
                       size_t maxHelpers = SIZE_MAX);

// Splits [0, n) into consecutive parts, one per processor for a long range,
// none shorter than `minPerPart` unless the range is: bounds[p] to
// bounds[p + 1] is part p.
std::vector<size_t> PartBounds(size_t n, size_t minPerPart);
