#include "model/WorkerPool.h"

#include "kiln/file/InterruptCleanup.h"

#include <algorithm>
#include <exception>
#include <system_error>

namespace {

// The pool this thread works for and its worker number; null on other threads.
thread_local const WorkerPool* currentPool = nullptr;
thread_local unsigned currentWorker = 0;

} // namespace

struct WorkerPool::Batch {
    const Job& job;
    size_t count;        // jobs to start; lowered when one fails
    size_t next = 0;     // the next job to start
    size_t running = 0;  // jobs started and not ended
    std::exception_ptr failure;
    size_t failedIndex = 0;  // of the failure, when there is one

    Batch(const Job& work, size_t jobs) : job(work), count(jobs) {}
};

WorkerPool::WorkerPool(unsigned workers)
{
    if (workers > 1) {
        // The threads start with the signals of the starting thread blocked.
        KILN::InterruptCleanup::Pause pause;
        try {
            for (unsigned worker = 0; worker < workers; ++worker)
                m_threads.emplace_back(&WorkerPool::work, this, worker);
        } catch (const std::system_error&) {
            // Fewer threads than asked for still do the work.
        }
    }
    m_size = std::max<unsigned>(static_cast<unsigned>(m_threads.size()), 1);
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerPool::run(size_t count, const Job& job, const Started& started)
{
    if (m_threads.size() < 2) {
        for (size_t index = 0; index < count; ++index) {
            if (started)
                started(index);
            job(index, 0);
        }
        return;
    }
    if (count == 0)
        return;
    // A job's own batch goes first, and its worker helps with it.
    const bool fromJob = currentPool == this;
    Batch batch(job, count);
    std::exception_ptr reportFailure;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (fromJob)
        m_queue.push_front(&batch);
    else
        m_queue.push_back(&batch);
    m_changed.notify_all();
    for (size_t reported = 0;;) {
        size_t index;
        if (fromJob && take(batch, index)) {
            runTaken(lock, batch, index, currentWorker);
            continue;
        }
        while (started && !reportFailure && reported < std::min(batch.next, batch.count)) {
            const size_t number = reported++;
            lock.unlock();
            try {
                started(number);
            } catch (...) {
                reportFailure = std::current_exception();
            }
            lock.lock();
            if (reportFailure)
                stopAt(batch, batch.next);
        }
        if (batch.next >= batch.count && batch.running == 0)
            break;
        m_changed.wait(lock);
    }
    lock.unlock();
    if (batch.failure)
        std::rethrow_exception(batch.failure);
    if (reportFailure)
        std::rethrow_exception(reportFailure);
}

void WorkerPool::work(unsigned worker)
{
    currentPool = this;
    currentWorker = worker;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Batch& batch = *m_queue.front();
        size_t index;
        if (take(batch, index))
            runTaken(lock, batch, index, worker);
    }
}

bool WorkerPool::take(Batch& batch, size_t& index)
{
    if (batch.next >= batch.count) {
        retire(batch);
        return false;
    }
    index = batch.next++;
    ++batch.running;
    if (batch.next >= batch.count)
        retire(batch);
    return true;
}

void WorkerPool::runTaken(std::unique_lock<std::mutex>& lock, Batch& batch, size_t index, unsigned worker)
{
    lock.unlock();
    std::exception_ptr failure;
    try {
        batch.job(index, worker);
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    --batch.running;
    if (failure && (!batch.failure || index < batch.failedIndex)) {
        batch.failure = failure;
        batch.failedIndex = index;
    }
    if (failure)
        stopAt(batch, index + 1);
    m_changed.notify_all();
}

void WorkerPool::stopAt(Batch& batch, size_t count)
{
    batch.count = std::min(batch.count, count);
    if (batch.next >= batch.count)
        retire(batch);
}

void WorkerPool::retire(Batch& batch)
{
    const auto queued = std::find(m_queue.begin(), m_queue.end(), &batch);
    if (queued != m_queue.end())
        m_queue.erase(queued);
}
