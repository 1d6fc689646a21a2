// The registry store on Windows: the current user's registry. Built only there; elsewhere
// registrystore_file.cpp stands in for it.

#include "print/registrystore.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace mv {

namespace {

std::wstring wide(const QString& s)
{
    return s.toStdWString();
}

} // namespace

QJsonObject RegistryStore::readValue(const QString& name) const
{
    DWORD type = 0;
    DWORD size = 0;
    const std::wstring key = wide(m_key), value = wide(name);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &type, buffer.data(), &size) != ERROR_SUCCESS)
        return {};
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, buffer.data(), sizeof number);
        return {{QStringLiteral("type"), kRegDword}, {QStringLiteral("data"), qint64(number)}};
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        return {{QStringLiteral("type"), type == REG_SZ ? kRegSz : kRegExpandSz},
                {QStringLiteral("data"), QString::fromWCharArray(buffer.c_str())}};
    return {{QStringLiteral("type"), QStringLiteral("other")}};
}

void RegistryStore::writeValue(const QString& name, const QString& type, const QJsonValue& data)
{
    const std::wstring key = wide(m_key), value = wide(name);
    if (type == kRegDword) {
        const DWORD number = DWORD(data.toInteger());
        noteWrite(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), REG_DWORD, &number,
                                  sizeof number) == ERROR_SUCCESS);
        return;
    }
    const std::wstring text = wide(data.toString());
    noteWrite(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(),
                              type == kRegSz ? REG_SZ : REG_EXPAND_SZ, text.c_str(),
                              DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS);
}

} // namespace mv
