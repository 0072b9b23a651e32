// The failure report: the one message the user sees.
#pragma once

// Failure codes 1 to 12 have a message each; 0 is success.
typedef int FailureCode;

struct Outcome {
    FailureCode code;
    int failed; // 0 or 1; becomes the exit status
};

// The message for a code, or null when nothing is to be shown.
const char* failureMessage(FailureCode code, int failed);
// Shows the message box and then writes the message to standard error;
// shows and writes nothing for success.
void reportFailure(FailureCode code, int failed);

extern const char* const reportCaption;
