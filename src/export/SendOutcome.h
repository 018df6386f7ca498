#pragma once

namespace korvex {

// How a send ended without an error (an error leaves it by an exception).
// An unattended run turns it into its exit status.
enum class SendOutcome {
    Uploaded,
    Declined,           // the user answered No to the question
    ClockRefused,
    DemoUser,
    StoppedByGuard,     // the withdrawal guard held the send back
    PackingCancelled,
};

} // namespace korvex
