#include <QApplication>

#include "app/CGCApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return CGCApp::Run(application);
}
