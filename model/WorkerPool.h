#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Runs the numbered jobs of a conversion (the documents of a book, the text
// batches of one large document) on worker threads. A job is told which
// worker runs it, so that it can use that worker's own analyser; a pool of
// one worker starts no thread and runs every job in order on the caller.
//
// The jobs of a batch start in index order. When one fails, those after it
// that have not started are skipped, and once every started job has ended
// the failure of the lowest index is raised: the failure a one-thread run
// would raise. A job may run a batch of its own; its worker runs that batch's
// jobs too while it waits, and they go ahead of every other batch. One thread
// at a time runs a batch from outside the pool.
//
// The threads keep SIGINT, SIGTERM and SIGHUP blocked, so the thread that
// made the pool handles them.
class WorkerPool {
public:
    using Job = std::function<void(size_t index, unsigned worker)>;
    // Told on the calling thread, in index order, of each job that has started.
    using Started = std::function<void(size_t index)>;

    // Starts that many threads (none for one); fewer when the system refuses.
    explicit WorkerPool(unsigned workers);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    // Joins the threads; a batch running then is the caller's error.
    ~WorkerPool();

    unsigned size() const { return m_size; }
    // Runs job(index, worker) for every index below count and returns when
    // all have ended, raising the failure of the lowest index that failed.
    void run(size_t count, const Job& job, const Started& started = Started());

private:
    struct Batch;

    void work(unsigned worker);
    // The following run with the lock held.
    // Takes the next job of batch; false when none is left to start.
    bool take(Batch& batch, size_t& index);
    // Runs a job taken from batch (the lock released meanwhile) and records
    // how it ended.
    void runTaken(std::unique_lock<std::mutex>& lock, Batch& batch, size_t index, unsigned worker);
    // Starts no job of batch from count on.
    void stopAt(Batch& batch, size_t count);
    // Takes batch out of the queue, if it is there.
    void retire(Batch& batch);

    unsigned m_size = 1;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch*> m_queue;  // batches with jobs left to start, the next first
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
