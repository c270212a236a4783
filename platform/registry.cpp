#include "platform/registry.h"

#include <algorithm>
#include <cstring>

namespace platform::reg {

LSTATUS OpenKey(HKEY root, const std::string& path, REGSAM access, unique_hkey& out) {
    HKEY key = nullptr;
    LSTATUS status = ::RegOpenKeyExA(root, path.c_str(), 0, access, &key);
    if (status == ERROR_SUCCESS) {
        out.reset(key);
    }
    return status;
}

LSTATUS CreateKey(HKEY root, const std::string& path, REGSAM access, unique_hkey& out,
                  bool* created) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LSTATUS status = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       access, nullptr, &key, &disposition);
    if (status == ERROR_SUCCESS) {
        out.reset(key);
        if (created) {
            *created = disposition == REG_CREATED_NEW_KEY;
        }
    }
    return status;
}

LSTATUS EnumValue(HKEY key, DWORD index, Value& out) {
    std::string name(256, '\0');
    std::string data(1024, '\0');
    for (;;) {
        DWORD nameCount = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LSTATUS status = ::RegEnumValueA(key, index, name.data(), &nameCount, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data.data()), &dataLength);
        if (status == ERROR_SUCCESS) {
            name.resize(nameCount);
            data.resize(dataLength);
            out.name = std::move(name);
            out.data = std::move(data);
            out.type = type;
            return status;
        }
        if (status != ERROR_MORE_DATA) {
            return status;
        }
        // The counts are not reliable after ERROR_MORE_DATA: ask the key for its largest sizes.
        DWORD maxNameCount = 0, maxDataLength = 0;
        if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &maxNameCount, &maxDataLength, nullptr, nullptr) != ERROR_SUCCESS) {
            return status;
        }
        const size_t wantName = std::max<size_t>(maxNameCount + 1, name.size() * 2);
        const size_t wantData = std::max<size_t>(maxDataLength + 1, data.size() * 2);
        if (wantName > (1u << 20) || wantData > (64u << 20)) {
            return status;
        }
        name.assign(wantName, '\0');
        data.assign(wantData, '\0');
    }
}

LSTATUS EnumSubkey(HKEY key, DWORD index, std::string& nameOut) {
    // Key names are limited to 255 characters, up to four bytes each in UTF-8.
    char name[1024];
    DWORD nameCount = sizeof name;
    LSTATUS status =
        ::RegEnumKeyExA(key, index, name, &nameCount, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        nameOut.assign(name, nameCount);
    }
    return status;
}

LSTATUS QueryValue(HKEY key, const std::string& name, std::string& dataOut, DWORD& typeOut) {
    std::string data(1024, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = REG_NONE;
        DWORD length = static_cast<DWORD>(data.size());
        LSTATUS status = ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(data.data()), &length);
        if (status == ERROR_SUCCESS) {
            data.resize(length);
            dataOut = std::move(data);
            typeOut = type;
            return status;
        }
        if (status != ERROR_MORE_DATA || length > (64u << 20)) {
            return status;
        }
        // The value may grow between the two calls; leave room and try again.
        data.assign(std::max<size_t>(length + 16, data.size() * 2), '\0');
    }
    return ERROR_MORE_DATA;
}

LSTATUS QueryString(HKEY key, const std::string& name, std::string& text) {
    std::string data;
    DWORD type = REG_NONE;
    LSTATUS status = QueryValue(key, name, data, type);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || data.empty() ||
        data.find('\0') == std::string::npos) {
        return ERROR_INVALID_DATA;
    }
    text = TextOfData(data);
    return ERROR_SUCCESS;
}

LSTATUS QueryDword(HKEY key, const std::string& name, DWORD& value) {
    std::string data;
    DWORD type = REG_NONE;
    LSTATUS status = QueryValue(key, name, data, type);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) {
        return ERROR_INVALID_DATA;
    }
    std::memcpy(&value, data.data(), sizeof value);
    return ERROR_SUCCESS;
}

LSTATUS SetString(HKEY key, const std::string& name, const std::string& text, DWORD type) {
    return ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1));
}

LSTATUS SetDword(HKEY key, const std::string& name, DWORD value) {
    return ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value);
}

LSTATUS SetBinary(HKEY key, const std::string& name, const std::string& bytes) {
    return ::RegSetValueExA(key, name.c_str(), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
}

LSTATUS DeleteValue(HKEY key, const std::string& name) {
    return ::RegDeleteValueA(key, name.c_str());
}

LSTATUS DeleteKey(HKEY parent, const std::string& subkey) {
    return ::RegDeleteKeyA(parent, subkey.c_str());
}

LSTATUS DeleteTree(HKEY parent, const std::string& subkey) {
    return ::RegDeleteTreeA(parent, subkey.c_str());
}

std::string TextOfData(const std::string& data) { return data.substr(0, data.find('\0')); }

}  // namespace platform::reg
