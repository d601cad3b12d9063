#include "framework/win/Registry.h"

#include "framework/win/WinUtil.h"

namespace {
[[noreturn]] void Fail(const std::string& what, LONG code) {
    throw ERegistryException(what + ": " + SysErrorMessage(static_cast<DWORD>(code)));
}
}  // namespace

void TRegistry::SetRootKey(HKEY value) {
    CloseKey();
    FRootKey = value;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, FAccess, canCreate); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) { return Open(key, KEY_READ, false); }

bool TRegistry::Open(const std::string& key, REGSAM access, bool canCreate) {
    const bool absolute = !key.empty() && key[0] == '\\';
    std::string path = absolute ? key.substr(1) : key;
    HKEY parent = absolute ? FRootKey : Key();
    std::wstring wide = Wide(path);
    HKEY opened = nullptr;
    LONG rc = canCreate ? RegCreateKeyExW(parent, wide.c_str(), 0, nullptr, 0, access, nullptr, &opened, nullptr)
                        : RegOpenKeyExW(parent, wide.c_str(), 0, access, &opened);
    if (rc != ERROR_SUCCESS) return false;
    std::string full = absolute || FCurrentPath.empty() ? path : FCurrentPath + "\\" + path;
    CloseKey();
    FCurrentKey = opened;
    FCurrentPath = full;
    return true;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

bool TRegistry::ValueExists(const std::string& name) {
    return RegQueryValueExW(Key(), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) {
    std::wstring wname = Wide(name);
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(Key(), wname.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return "";
    if (rc != ERROR_SUCCESS) Fail("Cannot read the value '" + name + "'", rc);
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    rc = RegQueryValueExW(Key(), wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (rc != ERROR_SUCCESS) Fail("Cannot read the value '" + name + "'", rc);
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();
    return Narrow(data);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    std::wstring data = Wide(value);
    const DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    LONG rc = RegSetValueExW(Key(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), size);
    if (rc != ERROR_SUCCESS) Fail("Failed to set data for '" + name + "'", rc);
}

bool TRegistry::DeleteValue(const std::string& name) {
    LONG rc = RegDeleteValueW(Key(), Wide(name).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    if (rc != ERROR_SUCCESS) Fail("Cannot delete the value '" + name + "'", rc);
    return true;
}
