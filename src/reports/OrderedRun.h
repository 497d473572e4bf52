#pragma once

#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// Makes items 0..total-1 on every core, a few ahead of the one in use, and
// hands them to use() in order on the calling thread: the work of many
// statements or pages goes on side by side while their output keeps its
// order and only a few items are in memory. make(item, thread) gets the
// thread's number, for what a thread keeps from item to item. use()
// returning false stops the run; items made ahead of that are handed to
// drop(). An exception thrown while making an item is thrown again on the
// calling thread when its turn comes.
template <class T, class Make, class Use, class Drop>
void Ordered_Run(int total, Make make, Use use, Drop drop)
{
    struct Made {
        bool done = false;
        std::optional<T> item;
        std::exception_ptr failure;
    };
    std::vector<Made> made(static_cast<size_t>(total));
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0, used = 0;
    bool stop = false;
    const int threads = std::max(1, std::min(QThread::idealThreadCount(), total));
    const int ahead = 4 * threads;
    auto work = [&](int worker) {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= total || next < used + ahead; });
            if (stop || next >= total)
                return;
            const int i = next++;
            lock.unlock();
            Made m;
            try {
                m.item.emplace(make(i, worker));
            } catch (...) {
                m.failure = std::current_exception();
            }
            m.done = true;
            lock.lock();
            made[size_t(i)] = std::move(m);
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work, t);
    auto finish = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& t : pool)
            t.join();
        for (Made& m : made)
            if (m.item)
                drop(*m.item);
    };
    try {
        for (int i = 0; i < total; ++i) {
            Made m;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return made[size_t(i)].done; });
                m = std::exchange(made[size_t(i)], Made{true, std::nullopt, nullptr});
            }
            if (m.failure)
                std::rethrow_exception(m.failure);
            const bool more = use(i, *m.item);
            {
                std::lock_guard lock(mutex);
                used = i + 1;
            }
            changed.notify_all();
            if (!more)
                break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}
