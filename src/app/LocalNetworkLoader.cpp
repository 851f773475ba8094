// SPDX-License-Identifier: MIT
#include "app/LocalNetworkLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QStringList>
#include <QTextStream>

namespace {

QString& GivenFolder() {
    static QString folder;
    return folder;
}

// The module that was loaded, once it is.
QString& LoadedPath() {
    static QString path;
    return path;
}

// glomiecode-localnet.so, glomiecode-localnet.dll: as the build names it.
QString ModuleFileName() {
    return QStringLiteral(GLOMIE_LOCALNET_FILE_NAME);
}

LocalNetwork* Load() {
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders;
    if (!GivenFolder().isEmpty())
        folders << GivenFolder();
    folders << program << QDir(program).filePath(QStringLiteral(GLOMIE_INSTALLED_LOCALNET_DIR));
    QStringList tried;
    for (const QString& folder : std::as_const(folders)) {
        const QString path = QDir::cleanPath(QDir(folder).filePath(ModuleFileName()));
        if (!QFile::exists(path))
            continue;
        // Never unloaded: the objects it made live until the program ends.
        QLibrary module(path);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (const auto entry = reinterpret_cast<LocalNetwork::Entry>(module.resolve(LocalNetwork::kEntry))) {
            LoadedPath() = path;
            return entry();
        }
        tried << module.errorString();
    }
    QTextStream(stderr) << QCoreApplication::applicationName()
                        << ": the local network module cannot be loaded: "
                        << (tried.isEmpty() ? QStringLiteral("%1 is in none of %2")
                                                  .arg(ModuleFileName(), folders.join(QStringLiteral(", ")))
                                            : tried.join(QStringLiteral("; ")))
                        << '\n';
    return nullptr;
}

} // namespace

LocalNetwork* TheLocalNetwork() {
    static LocalNetwork* const network = Load();
    return network;
}

QString LocalNetworkModulePath() {
    return TheLocalNetwork() ? LoadedPath() : QString();
}

void SetLocalNetworkFolder(const QString& folder) {
    GivenFolder() = folder;
}
