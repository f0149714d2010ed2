// Work done ahead of need, on another thread, and handed to whoever asks for it first. A window
// that opens later asks for its pictures by name: those decoded meanwhile are taken at once, one
// being decoded is waited for, and one nobody has started is done by the asking thread itself, so
// asking never waits for work queued behind.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

template <typename Value>
class WorkAhead {
public:
    using Work = std::function<Value()>;

    // Queues work under key; a key queued before keeps its first work.
    void Add(const std::string& key, Work work)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_items.count(key) != 0)
            return;
        m_items.emplace(key, Item{std::move(work), State::Waiting, {}});
        m_order.push_back(key);
    }

    // Runs the queued work in the order it was added, until none waits. Any number of threads may
    // run it at once; each item runs once.
    void RunAll()
    {
        for (;;) {
            std::unique_lock<std::mutex> lock(m_mutex);
            Item* item = nullptr;
            while (!m_order.empty() && item == nullptr) {
                auto found = m_items.find(m_order.front());
                m_order.pop_front();
                if (found != m_items.end() && found->second.state == State::Waiting)
                    item = &found->second;
            }
            if (item == nullptr)
                return;
            Run(*item, lock);
        }
    }

    // The result of key's work, handed out once: run here when nobody has started it, waited for
    // when another thread runs it. Nothing for a key never queued or already taken.
    std::optional<Value> Take(const std::string& key)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto found = m_items.find(key);
        if (found == m_items.end() || found->second.state == State::Taken)
            return std::nullopt;
        Item& item = found->second;
        if (item.state == State::Waiting)
            Run(item, lock);
        m_done.wait(lock, [&item] { return item.state == State::Done; });
        item.state = State::Taken;
        std::optional<Value> result = std::move(item.result);
        item.result.reset();
        return result;
    }

    // Drops every item and its result. Only while no other thread runs or takes.
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.clear();
        m_order.clear();
    }

private:
    enum class State { Waiting, Running, Done, Taken };
    struct Item {
        Work work;
        State state;
        std::optional<Value> result;
    };

    // Runs the item outside the lock; the lock is held again on return.
    void Run(Item& item, std::unique_lock<std::mutex>& lock)
    {
        item.state = State::Running;
        Work work = std::move(item.work);
        lock.unlock();
        std::optional<Value> result(work());
        lock.lock();
        item.result = std::move(result);
        item.state = State::Done;
        m_done.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_done;
    // Items are never erased, so a reference to one stays valid while the lock is released.
    std::map<std::string, Item> m_items;
    std::deque<std::string> m_order;
};
