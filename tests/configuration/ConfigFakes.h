// Fakes of the configuration document's ports: the host's shared block, where it is found, and the
// host's window.
// Each records what the document gave it or asked of it.
#pragma once

#include "ConfigDocument.h"
#include "ProfileStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class RecordingSharedBlock : public SharedBlock {
public:
    RecordingSharedBlock() { ClearProfileSet(*content); }
    bool ReadRaw(ProfileSet& destination) override
    {
        ++reads;
        if (!readable)
            return false;
        destination = *content;
        return true;
    }
    bool Write(const ProfileSet& source) override
    {
        ++writes;
        if (!writable)
            return false;
        if (onWrite)
            onWrite(source);
        *content = source;
        return true;
    }

    std::unique_ptr<ProfileSet> content = std::make_unique<ProfileSet>();
    bool readable = true;
    bool writable = true; // false: as a lock that cannot be taken
    int reads = 0;
    int writes = 0;
    // Runs at a write before the block takes the new content.
    std::function<void(const ProfileSet&)> onWrite;
};

class RecordingHostWindow : public HostWindow {
public:
    bool SendApply(uint32_t request) override
    {
        ++calls;
        requests.push_back(request);
        if (onCall)
            onCall();
        return answer.has_value();
    }

    // What the host answers when ApplyAndAnswer hands its answer on; nothing: no host runs.
    std::optional<Answer> answer = Answer::Answered;
    int calls = 0;
    std::vector<uint32_t> requests;
    std::function<void()> onCall;
};

class RecordingHostBlockSource : public HostBlockSource {
public:
    SharedBlock* OpenHostBlock() override
    {
        ++opens;
        return running;
    }

    SharedBlock* running = nullptr; // the block of the running host; nullptr while none runs
    int opens = 0;
};

// A whole apply as the window runs it: the first half, then, when the host was asked, the host's
// answer as host.answer says.
inline ApplyOutcome ApplyAndAnswer(ConfigDocument& document, RecordingHostWindow& host)
{
    const ApplyOutcome begun = document.BeginApply(static_cast<uint32_t>(host.calls + 1));
    return begun == ApplyOutcome::Updating ? document.FinishApply(*host.answer) : begun;
}

inline ApplyOutcome ApplyAndAnswer(ConfigDocument& document, RecordingHostWindow& host, HostBlockSource& source)
{
    const ApplyOutcome begun = document.BeginApply(source, static_cast<uint32_t>(host.calls + 1));
    return begun == ApplyOutcome::Updating ? document.FinishApply(*host.answer) : begun;
}
