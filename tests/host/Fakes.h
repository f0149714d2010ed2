// Fakes of the host's ports for tests in virtual time. Each records what the core asked of it,
// stamped with the virtual time, so tests check order and pacing as a user or the other program
// would see them.
#pragma once

#include "Ports.h"
#include "Records.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Virtual time: a wait moves the clock to its deadline at once. A hook may run at each wait (for
// example to deliver key events "while" a macro plays); it sees the deadline it may act before.
class FakeClock : public Clock {
public:
    int64_t NowUs() override
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        return m_now;
    }
    void SleepUntilUs(int64_t deadline) override
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        ++m_sleeps;
        if (onSleep)
            onSleep(deadline);
        if (deadline > m_now)
            m_now = deadline + oversleepUs;
    }
    void Advance(int64_t us)
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_now += us;
    }
    void Set(int64_t us)
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_now = us;
    }
    int64_t NowMs() { return NowUs() / 1000; }
    int Sleeps() const { return m_sleeps; }

    std::function<void(int64_t deadline)> onSleep;
    // Every wait ends this much after its deadline, as a busy scheduler would.
    int64_t oversleepUs = 0;

private:
    std::recursive_mutex m_mutex;
    int64_t m_now = 0;
    int m_sleeps = 0;
};

// Records synthetic input and tracks what is held down.
class RecordingInputSink : public InputSink {
public:
    struct Event {
        int64_t timeUs;
        bool mouse;
        uint8_t vk;
        uint8_t scan;
        uint32_t flags;
        uint32_t data;
    };

    explicit RecordingInputSink(Clock& clock) : m_clock(clock) {}

    void SendKey(uint8_t vk, uint8_t scan, uint32_t flags) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        events.push_back({m_clock.NowUs(), false, vk, scan, flags, 0});
        if (flags & kKeyUp) {
            heldKeys.erase(vk);
        } else {
            if (vk == 0x90 && !heldKeys.count(vk))
                numLock = !numLock;
            heldKeys.insert(vk);
        }
    }
    void SendMouse(uint32_t flags, uint32_t data) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        events.push_back({m_clock.NowUs(), true, 0, 0, flags, data});
        auto button = [&](uint32_t down, uint32_t up, int id) {
            if (flags & down)
                heldButtons.insert(id);
            if (flags & up)
                heldButtons.erase(id);
        };
        button(kLeftDown, kLeftUp, 1);
        button(kRightDown, kRightUp, 2);
        button(kMiddleDown, kMiddleUp, 3);
        if (flags & kExtraDown)
            heldButtons.insert(data == kExtraButton2 ? 5 : 4);
        if (flags & kExtraUp)
            heldButtons.erase(data == kExtraButton2 ? 5 : 4);
    }
    bool NumLockToggled() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return numLock;
    }

    bool NothingHeld()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return heldKeys.empty() && heldButtons.empty();
    }
    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return events;
    }

    std::vector<Event> events;
    std::set<uint8_t> heldKeys;
    std::set<int> heldButtons; // 1 left, 2 right, 3 middle, 4 X1, 5 X2
    bool numLock = false;

private:
    Clock& m_clock;
    std::mutex m_mutex;
};

class FakeSharedBlock : public SharedBlock {
public:
    bool ReadRaw(ProfileSet& destination) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (failReads)
            return false;
        destination = block;
        return true;
    }
    bool Write(const ProfileSet& source) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++writes;
        block = source;
        return true;
    }
    ProfileSet block{};
    int writes = 0;
    bool failReads = false;

private:
    std::mutex m_mutex;
};

// A desktop with named windows; records every message and activation.
class FakeDesktopWindows : public DesktopWindows {
public:
    struct Window {
        std::string className;
        std::string title;
    };
    struct Message {
        int64_t timeUs;
        WindowId window;
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
        bool sent; // SendMessage rather than PostMessage
    };

    explicit FakeDesktopWindows(Clock& clock) : m_clock(clock) {}

    WindowId AddWindow(const std::string& className, const std::string& title)
    {
        WindowId id = m_next++;
        windows[id] = {className, title};
        order.push_back(id);
        return id;
    }
    void RemoveWindow(WindowId id)
    {
        windows.erase(id);
        order.erase(std::remove(order.begin(), order.end(), id), order.end());
    }

    WindowId FindWindow(const std::string& className, const std::string& title) override
    {
        for (WindowId id : order) {
            const Window& w = windows[id];
            if ((className.empty() || w.className == className) && (title.empty() || w.title == title))
                return id;
        }
        return 0;
    }
    WindowId NextWindow(WindowId window) override
    {
        for (size_t i = 0; i + 1 < order.size(); ++i)
            if (order[i] == window)
                return order[i + 1];
        return 0;
    }
    std::string WindowTitle(WindowId window) override { return windows.count(window) ? windows[window].title : ""; }
    std::string WindowClass(WindowId window) override { return windows.count(window) ? windows[window].className : ""; }
    bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        messages.push_back({m_clock.NowUs(), window, message, wParam, lParam, false});
        return window != 0;
    }
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        messages.push_back({m_clock.NowUs(), window, message, wParam, lParam, true});
        return 0;
    }
    void SetForeground(WindowId window) override { foregrounded.push_back(window); }
    void ActivateAttached(WindowId window) override { activatedAttached.push_back(window); }
    void RestoreAndActivate(WindowId window) override { restored.push_back(window); }
    WindowId HostWindow() override { return hostWindow; }
    // Messages sent or posted to the window with this title.
    std::vector<Message> MessagesTo(const std::string& title)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<Message> out;
        for (const Message& m : messages)
            if (windows.count(m.window) && windows[m.window].title == title)
                out.push_back(m);
        return out;
    }

    std::map<WindowId, Window> windows;
    std::vector<WindowId> order; // z-order, top first
    std::vector<Message> messages;
    std::vector<WindowId> foregrounded, activatedAttached, restored;
    WindowId hostWindow = 1;

private:
    Clock& m_clock;
    std::mutex m_mutex;
    WindowId m_next = 100;
};

// Registry values and environment variables as a test sets them.
class FakeSystemSettings : public SystemSettings {
public:
    std::optional<std::string> ReadRegistryString(const std::string& path, const std::string& valueName) override
    {
        auto it = registry.find(path + "|" + valueName);
        if (it == registry.end())
            return std::nullopt;
        return it->second;
    }
    std::string ExpandEnvironment(const std::string& text) override
    {
        std::string out = text;
        for (const auto& [name, value] : environment) {
            std::string token = "%" + name + "%";
            for (size_t p; (p = out.find(token)) != std::string::npos;)
                out.replace(p, token.size(), value);
        }
        return out;
    }
    std::map<std::string, std::string> registry; // "path|value" -> data
    std::map<std::string, std::string> environment;
};

// Records every program and page started.
class FakeProgramLauncher : public ProgramLauncher {
public:
    void Run(const std::string& commandLine) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        runs.push_back(commandLine);
    }
    void ShellOpen(const std::string& file, const std::string& parameters) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        shellOpens.push_back({file, parameters});
    }
    std::vector<std::string> runs;
    std::vector<std::pair<std::string, std::string>> shellOpens;

private:
    std::mutex m_mutex;
};

// A taskbar that takes the icon unless told it does not run, and loses it when it restarts.
class FakeNotificationArea : public NotificationArea {
public:
    bool AddTrayIcon() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++trayAddTries;
        if (!taskbarRuns)
            return false;
        holdsIcon = true;
        ++trayAdds;
        return true;
    }
    void RemoveTrayIcon() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        holdsIcon = false;
        ++trayRemoves;
    }
    // Explorer ended and started again: the new taskbar holds no icon.
    void RestartTaskbar()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        holdsIcon = false;
        taskbarRuns = true;
    }
    bool taskbarRuns = true;
    bool holdsIcon = false;
    int trayAddTries = 0;
    int trayAdds = 0; // calls the taskbar took
    int trayRemoves = 0;

private:
    std::mutex m_mutex;
};

class FakeSoundPlayer : public SoundPlayer {
public:
    struct Sound {
        std::string path;
        uint32_t flags;
    };
    void PlaySound(const std::string& path, uint32_t flags) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sounds.push_back({path, flags});
    }
    std::vector<Sound> sounds;

private:
    std::mutex m_mutex;
};

class FakeForegroundProcess : public ForegroundProcess {
public:
    std::optional<std::string> ModuleBaseName() override { return name; }
    std::optional<std::string> name;
};

class FakeWindowTimers : public WindowTimers {
public:
    void Set(uint32_t id, uint32_t periodMs) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        active[id] = periodMs;
        log.push_back("set " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void Kill(uint32_t id) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        active.erase(id);
        log.push_back("kill " + std::to_string(id));
    }
    bool IsSet(uint32_t id)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return active.count(id) != 0;
    }
    std::map<uint32_t, uint32_t> active;
    std::vector<std::string> log;

private:
    std::mutex m_mutex;
};
