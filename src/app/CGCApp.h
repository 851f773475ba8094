#pragma once

#include <QApplication>

// The encoder's whole life: the single-instance rule, the settings, the modal sheet.
class CGCApp {
  public:
    static int Run(QApplication& application);
};
