// SPDX-License-Identifier: MIT
#include "platform/NativeSettings.h"

#include "platform/WindowsApi.h"

#ifdef Q_OS_WIN
#include <algorithm>
#include <cstring>
#include <vector>
#endif

QString NativeSettingsPlace() {
#ifdef Q_OS_WIN
    return QStringLiteral("the registry, under\nHKEY_CURRENT_USER\\Software\\kvrq\\<program name>,");
#else
    return QStringLiteral("~/.config/kvrq/<program name>.conf");
#endif
}

bool NativeSettingsAreAFile() {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return false;
#else
    return true;
#endif
}

bool NativeSettingsAreTheRegistry() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

#ifdef Q_OS_WIN
namespace {
// One value under HKEY root\path: REG_DWORD and REG_QWORD as their numbers, every other kind as the
// text QSettings would have taken from it before making data of it.
std::optional<QString> ReadRegistryValue(HKEY root, const QString& path, const QString& name) {
    const auto* wpath = reinterpret_cast<const wchar_t*>(path.utf16());
    const auto* wname = reinterpret_cast<const wchar_t*>(name.utf16());
    DWORD type = 0;
    DWORD size = 0;
    constexpr DWORD kFlags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(root, wpath, wname, kFlags, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<char> data(size + 4, 0); // room for the ends a text may lack
    if (RegGetValueW(root, wpath, wname, kFlags, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    switch (type) {
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        qint32 number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return QString::number(number);
    }
    case REG_QWORD: {
        qint64 number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        return QString::number(number);
    }
    case REG_SZ:
    case REG_EXPAND_SZ:
        return QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data.data()));
    case REG_MULTI_SZ: // a list: no number, whatever it holds
        return QString();
    default: // bytes, read as UTF-16 text
        return QString::fromWCharArray(reinterpret_cast<const wchar_t*>(data.data()), qsizetype(size / 2));
    }
}
} // namespace
#endif

std::optional<QString> ReadNativeSettingText(const QString& organization, const QString& application,
                                             const QString& key) {
#ifdef Q_OS_WIN
    // "group/name": the value "name" of the key "group" (QSettings swaps '/' and '\' in keys).
    QString path = key;
    for (QChar& c : path)
        c = c == u'/' ? u'\\' : c == u'\\' ? u'/' : c;
    const qsizetype last = path.lastIndexOf(u'\\');
    const QString name = path.mid(last + 1);
    path.truncate(std::max<qsizetype>(last, 0));
    const QString company = QStringLiteral("Software\\") + organization;
    const QString places[] = {company + u'\\' + application,
                              company + QStringLiteral("\\OrganizationDefaults")};
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        for (const QString& place : places)
            if (auto text = ReadRegistryValue(root, path.isEmpty() ? place : place + u'\\' + path, name))
                return text;
    return std::nullopt;
#else
    Q_UNUSED(organization)
    Q_UNUSED(application)
    Q_UNUSED(key)
    return std::nullopt;
#endif
}

bool IniKeysIgnoreCaseAndKeepOrder() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

QByteArray IniLineEnd() {
#ifdef Q_OS_WIN
    return QByteArrayLiteral("\r\n");
#else
    return QByteArrayLiteral("\n");
#endif
}
