#pragma once
// Registry-editor text files (.reg): reading "REGEDIT4" (8-bit text, UTF-8 here) and
// "Windows Registry Editor Version 5.00" (UTF-16LE with byte-order mark, as the Windows
// registry editor writes it), and writing REGEDIT4. Only HKEY_CURRENT_USER, texts (REG_SZ)
// and dwords (REG_DWORD); "[-KEY]" deletes a key, "name"=- a value.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/Store.h"

namespace fenmar::store {

struct RegOperation {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::string key;   // path below HKEY_CURRENT_USER, normalized ("" is the root)
    std::string name;  // value name ("" is the default value "@")
    std::uint32_t type = kRegNone;
    std::string bytes;
    int line = 0;
};

struct RegParse {
    bool ok = false;
    std::vector<RegOperation> operations;  // in file order; empty unless ok
    int errorLine = 0;                     // 1-based line of the first error
    std::string error;                     // its reason
};

// Reads a whole file; the first error rejects it (no operations).
RegParse ParseRegFile(std::string_view bytes);

// Carries out the operations in one transaction of the store: all or nothing. On failure
// `error` says which line could not be written.
bool ApplyRegOperations(Store& store, const std::vector<RegOperation>& operations,
                        std::string& error);

// A key as the user writes it on the command line: "HKEY_CURRENT_USER\Software\...",
// "HKCU\Software\..." or just "Software\..." (any capitals). False if another hive is named
// or a name is longer than 255 characters.
bool ParseKeyArgument(std::string_view text, std::string& path, std::string& error);

// The key's path with the names as stored (the capitals the key was created with); false
// when the key does not exist.
bool StoredKeyPath(Store& store, std::string_view path, std::string& stored);

// Writes `path` and everything below it as a REGEDIT4 file (CRLF line ends). Values that
// cannot be written (types other than text and dword, texts with line breaks or zero
// bytes) are left out, each with a warning. False (with `error`) if the key does not
// exist or the store cannot be read.
bool ExportRegFile(Store& store, std::string_view path, std::string& out,
                   std::vector<std::string>& warnings, std::string& error);

}  // namespace fenmar::store
