#include "app/CGCApp.h"

int main(int argc, char* argv[]) {
    return CGCApp::Run(argc, argv);
}
