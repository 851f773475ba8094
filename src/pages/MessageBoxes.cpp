// SPDX-License-Identifier: MIT
#include "pages/MessageBoxes.h"

#include <QCoreApplication>

QString ProgramTitle() {
    return QCoreApplication::translate("MessageBoxes", "Glomie Code Encoder");
}

void PrepareDialog(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& informative) {
    QMessageBox box(icon, ProgramTitle(), text, QMessageBox::Ok, parent);
    PrepareDialog(box);
    if (!informative.isEmpty())
        box.setInformativeText(informative);
    box.exec();
}
