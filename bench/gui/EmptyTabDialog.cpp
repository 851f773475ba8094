// SPDX-License-Identifier: MIT
// The yardstick for the encoder's start: an empty Qt dialog with ten tabs and OK, Cancel and Help,
// as small as a tabbed dialog can be. bench/start-up.sh starts it beside the encoder, and
// bench/windows/start-time.sh its Windows build under Wine.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Empty Tab Dialog"));
    auto* tabs = new QTabWidget(&dialog);
    for (int i = 1; i <= 10; ++i)
        tabs->addTab(new QWidget, QStringLiteral("Page %1").arg(i));
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return dialog.exec();
}
