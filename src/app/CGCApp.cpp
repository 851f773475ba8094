#include "app/CGCApp.h"

#include <QFileInfo>

#include "pages/CGCPropertySheet.h"
#include "settings/SettingsLayout.h"
#include "store/QSettingsStore.h"

int CGCApp::Run(QApplication& application) {
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QCoreApplication::setApplicationName(name);
    CGCPropertySheet sheet;
    auto store = QSettingsStore::ForApplication(name);
    LoadSettings(*store, sheet.Answers());
    sheet.RebuildCode(RebuildAll);
    if (sheet.exec() == QDialog::Accepted) {
        SaveSettings(*store, sheet.Answers());
        store->Commit();
    }
    Q_UNUSED(application);
    return 0;
}
