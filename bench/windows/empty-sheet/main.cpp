// SPDX-License-Identifier: MIT
// A dialog of ten empty tabs with OK and Cancel: what any Qt sheet costs to start.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Empty Sheet"));
    auto* tabs = new QTabWidget(&dialog);
    for (int page = 1; page <= 10; ++page)
        tabs->addTab(new QWidget, QStringLiteral("Page %1").arg(page));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    dialog.resize(640, 480);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
