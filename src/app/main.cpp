// SPDX-License-Identifier: MIT
#include "app/EncoderApp.h"
#include "platform/QuickExit.h"

int main(int argc, char* argv[]) {
    const int status = EncoderApp::run(argc, argv);
    // The answers are saved, the lock removed and every window gone: nothing is left to tear down.
    QuickExit(status);
    return status;
}
