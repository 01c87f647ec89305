#pragma once

#include <QObject>

#include <exception>
#include <functional>
#include <thread>

// Runs one piece of work at a time on a thread of its own, so that the
// window stays responsive, and hands its end (with the exception it threw,
// if any) to a callback on the thread that made the task.
class BackgroundTask {
public:
    BackgroundTask() = default;
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;
    // Waits for work still running; its callback is then never called.
    ~BackgroundTask();

    // Starts work unless some is running; false then. finished is called
    // once work has returned or thrown, from the event loop of the task's
    // thread.
    bool start(std::function<void()> work, std::function<void(std::exception_ptr)> finished);
    // True from start until finished is called.
    bool running() const { return m_running; }

private:
    // Lives on the task's thread: the work's end is queued to it.
    QObject m_context;
    std::thread m_thread;
    bool m_running = false;
};
