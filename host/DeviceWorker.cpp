#include "DeviceWorker.h"

#include <chrono>
#include <utility>

DeviceWorker::DeviceWorker(std::function<void()> push) : m_push(std::move(push)) {}

DeviceWorker::~DeviceWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeviceWorker::Start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable() || m_ending)
        return;
    m_thread = std::thread([this] { WorkerLoop(); });
}

bool DeviceWorker::Request()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_ending)
            return false;
        m_waiting = true;
    }
    m_changed.notify_all();
    return true;
}

void DeviceWorker::RunOne(std::unique_lock<std::mutex>& lock)
{
    m_waiting = false;
    m_running = true;
    lock.unlock();
    m_push();
    lock.lock();
    m_running = false;
    m_changed.notify_all();
}

bool DeviceWorker::RunPending()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_waiting || m_running)
        return false;
    RunOne(lock);
    return true;
}

void DeviceWorker::WorkerLoop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        // Ending leaves only once nothing that was asked for is left.
        m_changed.wait(lock, [this] { return (m_waiting && !m_running) || (m_ending && !m_waiting && !m_running); });
        if (!m_waiting)
            break;
        RunOne(lock);
    }
    m_threadLeft = true;
    m_changed.notify_all();
}

bool DeviceWorker::End(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ending = true;
    m_changed.notify_all();
    if (!m_thread.joinable())
        return true;
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_threadLeft; }))
        return false;
    lock.unlock();
    m_thread.join();
    return true;
}

bool DeviceWorker::Busy() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiting || m_running;
}

void DeviceWorker::WaitUntilIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting && !m_running; });
}
