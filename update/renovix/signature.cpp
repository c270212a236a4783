#include "update/renovix/signature.h"

#include "maker_public_key.h"
#include "platform/unique_any.h"
#include "update/renovix/release_statement.h"

#include <gcrypt.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace renovix {

namespace {

// Update files are a few megabytes; anything far beyond is not one of them.
constexpr size_t kMaxSignedFileBytes = 256u << 20;

struct SexpDeleter {
    void operator()(gcry_sexp_t s) const { gcry_sexp_release(s); }
};
using Sexp = std::unique_ptr<gcry_sexp, SexpDeleter>;

bool InitialiseGcrypt() {
    static const bool ready = [] {
        if (!gcry_check_version(GCRYPT_VERSION)) {
            return false;
        }
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    return ready;
}

}  // namespace

bool IsSignedByMaker(std::string_view data, std::string_view signature) {
    if (signature.size() != kSignatureBytes || !InitialiseGcrypt()) {
        return false;
    }
    // The key's bytes stay whole in the library, where the release tools look for them.
    gcry_sexp_t keySexp = nullptr, sigSexp = nullptr, dataSexp = nullptr;
    if (gcry_sexp_build(&keySexp, nullptr, "(public-key(ecc(curve Ed25519)(flags eddsa)(q %b)))",
                        static_cast<int>(sizeof kMakerPublicKey), kMakerPublicKey) != 0) {
        return false;
    }
    Sexp keyOwner(keySexp);
    if (gcry_sexp_build(&sigSexp, nullptr, "(sig-val(eddsa(r %b)(s %b)))", 32, signature.data(), 32,
                        signature.data() + 32) != 0) {
        return false;
    }
    Sexp sigOwner(sigSexp);
    // The signature covers the file's SHA-512 digest: libgcrypt's S-expressions hold at most
    // 64 KiB in one value, and the files are megabytes.
    std::array<unsigned char, 64> digest{};
    gcry_md_hash_buffer(GCRY_MD_SHA512, digest.data(), data.data(), data.size());
    if (gcry_sexp_build(&dataSexp, nullptr, "(data(flags eddsa)(hash-algo sha512)(value %b))",
                        static_cast<int>(digest.size()), digest.data()) != 0) {
        return false;
    }
    Sexp dataOwner(dataSexp);
    return gcry_pk_verify(sigSexp, dataSexp, keySexp) == 0;
}

std::string Sha512Hex(std::string_view data) {
    if (!InitialiseGcrypt()) {
        return {};
    }
    std::array<char, 64> digest{};
    gcry_md_hash_buffer(GCRY_MD_SHA512, digest.data(), data.data(), data.size());
    return HexOf(std::string_view(digest.data(), digest.size()));
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes, size_t maxBytes,
                   platform::unique_hfile* held) {
    platform::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!::ReadFile(file.get(), bytes.data() + done, want, &read, nullptr) || read == 0) {
            return false;
        }
        done += read;
    }
    if (held) {
        *held = std::move(file);
    }
    return true;
}

bool IsFileSignedByMaker(const std::wstring& file, const std::wstring& signatureFile) {
    std::string data, signature;
    return ReadWholeFile(signatureFile, signature, kSignatureBytes) &&
           ReadWholeFile(file, data, kMaxSignedFileBytes) && IsSignedByMaker(data, signature);
}

}  // namespace renovix
