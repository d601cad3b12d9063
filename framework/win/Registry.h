#pragma once
// TRegistry: string values under a key of HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE.
// OpenKey (creating the key when asked) and OpenKeyReadOnly report failure by returning
// false; a key path starting with '\' is taken from the root, any other from the open key.
// Reading, writing and deleting values raise ERegistryException with the value's name and
// the system's reason. Strings are REG_SZ, their terminating zero counted in the size.

#include <string>

#include "framework/base/Component.h"
#include "framework/win/WinApi.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : FAccess(access) {}
    ~TRegistry() override { CloseKey(); }

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY value);   // closes the open key
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM value) { FAccess = value; }
    HKEY CurrentKey() const { return FCurrentKey; }
    const std::string& CurrentPath() const { return FCurrentPath; }

    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();

    bool ValueExists(const std::string& name);
    std::string ReadString(const std::string& name);   // "" when the value is absent
    void WriteString(const std::string& name, const std::string& value);
    bool DeleteValue(const std::string& name);          // false when it was not there

private:
    bool Open(const std::string& key, REGSAM access, bool canCreate);
    HKEY Key() const { return FCurrentKey ? FCurrentKey : FRootKey; }

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    std::string FCurrentPath;
    REGSAM FAccess;
};
