#pragma once
// The one module through which the program touches the registry. Every function returns
// the LSTATUS of the call that decided it; out-parameters stay untouched on failure.
// Names and texts are 8-bit strings in the ANSI code page.

#include "platform/unique_any.h"

#include <string>

namespace platform::reg {

struct Value {
    std::string name;
    std::string data;  // the raw bytes as stored
    DWORD type = REG_NONE;
};

LSTATUS OpenKey(HKEY root, const std::string& path, REGSAM access, unique_hkey& out);
// created (optional) tells whether the key is new.
LSTATUS CreateKey(HKEY root, const std::string& path, REGSAM access, unique_hkey& out,
                  bool* created = nullptr);

// Buffers grow as needed: a long name or long data never ends an enumeration.
LSTATUS EnumValue(HKEY key, DWORD index, Value& out);
LSTATUS EnumSubkey(HKEY key, DWORD index, std::string& name);

LSTATUS QueryValue(HKEY key, const std::string& name, std::string& data, DWORD& type);
// A string value (plain or expandable) that is not empty and holds its terminating zero;
// anything else gives ERROR_INVALID_DATA. The text is the part before the terminator.
LSTATUS QueryString(HKEY key, const std::string& name, std::string& text);
LSTATUS QueryDword(HKEY key, const std::string& name, DWORD& value);

// The terminating zero is counted in the stored length.
LSTATUS SetString(HKEY key, const std::string& name, const std::string& text, DWORD type = REG_SZ);
LSTATUS SetDword(HKEY key, const std::string& name, DWORD value);
LSTATUS SetBinary(HKEY key, const std::string& name, const std::string& bytes);

LSTATUS DeleteValue(HKEY key, const std::string& name);
LSTATUS DeleteKey(HKEY parent, const std::string& subkey);   // a key without subkeys
LSTATUS DeleteTree(HKEY parent, const std::string& subkey);  // the key and all below it

// Text of raw value data: the bytes up to the first zero, never past the data read.
std::string TextOfData(const std::string& data);

}  // namespace platform::reg
