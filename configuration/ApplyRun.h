// An apply from the click on Apply or OK to the host's answer. The window never waits for the host:
// the first half (files, block, macro library, the request sent) runs at the click, and the second
// half when the host's answer comes back, while the window goes on answering the user.
#pragma once

#include "ConfigDocument.h"

#include <cstdint>
#include <optional>

// What the user asked for: Apply (the button, or a reset), or OK (apply, then close when nothing is
// left to retry).
enum class ApplyRequest { Apply, Ok };

// What the window does after a step of an apply.
struct ApplyStep {
    // What the status line shows now (Updating while the host's answer is awaited); nothing when it
    // stays as it is.
    std::optional<ApplyOutcome> status;
    // True when the window closes now.
    bool close = false;
};

class ApplyRun {
public:
    explicit ApplyRun(ConfigDocument& document) : m_document(document) {}

    // A click on Apply or OK. Without an apply under way, the apply starts: its outcome at once when
    // there is no host to wait for (and OK closes when the outcome lets the window close), otherwise
    // Updating. While the host's answer is awaited no second apply starts: the click is remembered
    // (an OK over an Apply) and handled when the answer comes.
    ApplyStep Request(ApplyRequest request, HostBlockSource& source);
    // The host's answer to the request numbered request, or NoAnswer once the time limit passed.
    // Nothing when it is not the awaited one (a late answer, or one after the window closed). The
    // outcome is shown; then a remembered click: when the user edited meanwhile it runs as a new
    // apply, otherwise an OK closes the window if the outcome lets it, and an Apply has nothing
    // more to do.
    ApplyStep HostAnswered(uint32_t request, HostWindow::Answer answer, HostBlockSource& source);
    // The window closes. It never waits for the host: the files, the block and the macro library
    // were written before the host was asked, and the host pushes what the block holds. The awaited
    // answer and a remembered click are dropped, and later answers and clicks are ignored.
    void Close();

    // True while the host's answer is awaited.
    bool Waiting() const { return m_waiting; }
    // The number the awaited request was sent with (the last one sent when none is awaited).
    uint32_t AwaitedRequest() const { return m_request; }
    // The outcome of the last apply that ended; Updating while one waits.
    ApplyOutcome LastOutcome() const { return m_last; }

private:
    ApplyStep Start(ApplyRequest request, HostBlockSource& source);

    ConfigDocument& m_document;
    uint32_t m_request = 0;
    bool m_waiting = false;
    bool m_closed = false;
    // The click made while the answer was awaited, handled when it comes.
    std::optional<ApplyRequest> m_remembered;
    ApplyOutcome m_last = ApplyOutcome::Applied;
};
