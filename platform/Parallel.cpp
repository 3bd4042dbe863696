#include "platform/Parallel.h"

#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <thread>

PoolHelpers::PoolHelpers(size_t wanted, std::function<void(size_t helper)> work)
    : m_work(std::move(work))
{
    QThreadPool* pool = QThreadPool::globalInstance();
    for (size_t helper = 1; helper <= wanted; ++helper) {
        {
            const std::lock_guard lock(m_mutex);
            ++m_running;
        }
        const bool started = pool->tryStart([this, helper] {
            m_work(helper);
            // Notified under the lock: the destructor cannot return, and end
            // this object, before the notification is done.
            const std::lock_guard lock(m_mutex);
            --m_running;
            m_ended.notify_all();
        });
        if (!started) {
            const std::lock_guard lock(m_mutex);
            --m_running;
            break;
        }
        ++m_started;
    }
}

PoolHelpers::~PoolHelpers()
{
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [this] { return m_running == 0; });
}

void ForEachInParallel(size_t n, const std::function<void(size_t)>& work, size_t maxHelpers)
{
    std::atomic<size_t> next{0};
    const auto take = [&](size_t) {
        for (size_t i; (i = next.fetch_add(1)) < n;)
            work(i);
    };
    const PoolHelpers helpers(n > 1 ? std::min(n - 1, maxHelpers) : 0, take);
    take(0);
}

std::vector<size_t> PartBounds(size_t n, size_t minPerPart)
{
    const size_t parts = std::clamp<size_t>(n / std::max<size_t>(minPerPart, 1), 1,
                                            std::max(1u, std::thread::hardware_concurrency()));
    std::vector<size_t> bounds(parts + 1);
    for (size_t p = 0; p <= parts; ++p)
        bounds[p] = n * p / parts;
    return bounds;
}
