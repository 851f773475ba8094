// SPDX-License-Identifier: MIT
#include "app/EncoderApp.h"

int main(int argc, char* argv[]) {
    return EncoderApp::run(argc, argv);
}
