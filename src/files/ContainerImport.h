#pragma once
// A container opened for an import: decrypted in place when it is one, and
// a container again when the import ends, whichever way it ends.
#include <cstdint>
#include <filesystem>
#include <string>

#include "Cryptogram.h"

namespace kivo {

class ContainerImport {
public:
    // Decrypts the file when it is a container for key; notContainer is the
    // window's flag, 0 only when this did decrypt.
    ContainerImport(std::filesystem::path path, std::string key, std::uint8_t& notContainer)
        : path_(std::move(path)), key_(std::move(key)) {
        DecryptFileInPlace(path_, key_, notContainer);
        decrypted_ = notContainer == 0;
    }
    ContainerImport(const ContainerImport&) = delete;
    ContainerImport& operator=(const ContainerImport&) = delete;
    // An import that ended early still leaves no plain text behind.
    ~ContainerImport() { reencrypt(); }

    // Makes the file a container again, if this import decrypted it.
    void reencrypt() {
        if (!decrypted_) return;
        decrypted_ = false;
        EncryptFileInPlace(path_, key_);
    }

private:
    std::filesystem::path path_;
    std::string key_;
    bool decrypted_ = false;
};

}  // namespace kivo
