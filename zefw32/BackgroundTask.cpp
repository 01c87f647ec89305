#include "zefw32/BackgroundTask.h"

#include <QMetaObject>

BackgroundTask::~BackgroundTask()
{
    // Joined before m_context goes, which drops the queued end.
    if (m_thread.joinable())
        m_thread.join();
}

bool BackgroundTask::start(std::function<void()> work, std::function<void(std::exception_ptr)> finished)
{
    if (m_running)
        return false;
    m_thread = std::thread([this, work = std::move(work), finished = std::move(finished)] {
        std::exception_ptr failure;
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            &m_context,
            [this, finished, failure] {
                m_thread.join();
                m_running = false;
                finished(failure);
            },
            Qt::QueuedConnection);
    });
    // The end is queued to this thread, so it cannot come before this.
    m_running = true;
    return true;
}
