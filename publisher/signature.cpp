#include "publisher/signature.h"

#include "platform/text_codec.h"
#include "platform/unique_any.h"

// In this order: each needs the ones before it.
#include <wincrypt.h>
#include <wintrust.h>
#include <mscat.h>
#include <softpub.h>

#include <vector>

namespace publisher {
namespace {

// WINTRUST_ACTION_GENERIC_VERIFY_V2 and DRIVER_ACTION_VERIFY.
const GUID kGenericVerifyV2 = {
    0xaac56b, 0xcd44, 0x11d0, {0x8c, 0xc2, 0x00, 0xc0, 0x4f, 0xc2, 0x95, 0xee}};
const GUID kDriverActionVerify = {
    0xf750e6c3, 0x38ee, 0x11d1, {0x85, 0xe5, 0x00, 0xc0, 0x4f, 0xc2, 0x95, 0xee}};

// Windows 8 added the SHA-256 catalogue functions; the program runs from Windows 7 on, so
// they are looked up at run time.
using AcquireContext2 = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR, PCCERT_STRONG_SIGN_PARA,
                                      DWORD);
using CalcHash2 = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);

struct CatalogueFunctions {
    AcquireContext2 acquire2 = nullptr;
    CalcHash2 calcHash2 = nullptr;
};

const CatalogueFunctions& Catalogue() {
    static const CatalogueFunctions functions = [] {
        CatalogueFunctions found;
        // wintrust.dll is linked, so this handle stays valid for the process.
        if (HMODULE wintrust = ::GetModuleHandleW(L"wintrust.dll")) {
            found.acquire2 = reinterpret_cast<AcquireContext2>(reinterpret_cast<void*>(
                ::GetProcAddress(wintrust, "CryptCATAdminAcquireContext2")));
            found.calcHash2 = reinterpret_cast<CalcHash2>(reinterpret_cast<void*>(
                ::GetProcAddress(wintrust, "CryptCATAdminCalcHashFromFileHandle2")));
        }
        if (!found.acquire2 || !found.calcHash2) {
            found = {};
        }
        return found;
    }();
    return functions;
}

namespace traits {
struct cat_admin {
    using type = HCATADMIN;
    static type invalid() { return nullptr; }
    static void close(type value) { ::CryptCATAdminReleaseContext(value, 0); }
};
}  // namespace traits
using unique_cat_admin = platform::unique_any<traits::cat_admin>;

// A catalogue found for a hash; released with the context that found it.
class CatalogueInfo {
public:
    CatalogueInfo(HCATADMIN admin, HCATINFO info) : admin_(admin), info_(info) {}
    CatalogueInfo(const CatalogueInfo&) = delete;
    CatalogueInfo& operator=(const CatalogueInfo&) = delete;
    ~CatalogueInfo() {
        if (info_) {
            ::CryptCATAdminReleaseCatalogContext(admin_, info_, 0);
        }
    }
    HCATINFO get() const { return info_; }

private:
    HCATADMIN admin_;
    HCATINFO info_;
};

// The error a certificate of the signer's chain carries (0 for none), and the signer's name.
// Windows fails the whole check for such an error; Wine (8.0) records CERT_E_UNTRUSTEDROOT on a
// root nobody trusts and still answers success, so the chain is read here as well.
LONG ReadSigner(HANDLE state, std::string& name) {
    CRYPT_PROVIDER_DATA* data = ::WTHelperProvDataFromStateData(state);
    CRYPT_PROVIDER_SGNR* signer =
        data ? ::WTHelperGetProvSignerFromChain(data, 0, FALSE, 0) : nullptr;
    if (!signer || signer->csCertChain == 0) {
        return TRUST_E_NOSIGNATURE;
    }
    for (DWORD i = 0; i < signer->csCertChain; ++i) {
        const CRYPT_PROVIDER_CERT* cert = ::WTHelperGetProvCertFromChain(signer, i);
        if (!cert || cert->dwError != 0) {
            return cert ? static_cast<LONG>(cert->dwError) : CERT_E_CHAINING;
        }
    }
    const CRYPT_PROVIDER_CERT* leaf = ::WTHelperGetProvCertFromChain(signer, 0);
    wchar_t text[256];
    const DWORD count = ::CertGetNameStringW(leaf->pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                                             text, static_cast<DWORD>(std::size(text)));
    name = count > 1 ? platform::text::Narrow(std::wstring_view(text, count - 1)) : std::string();
    return ERROR_SUCCESS;
}

void Rewind(HANDLE file) { ::SetFilePointer(file, 0, nullptr, FILE_BEGIN); }

// One WinVerifyTrust call with its state closed again; the signer is read before that.
LONG Verify(WINTRUST_DATA& data, std::string& signer) {
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = kGenericVerifyV2;
    LONG status = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    if (status == ERROR_SUCCESS) {
        status = ReadSigner(data.hWVTStateData, signer);
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return status;
}

bool IsUnsignedStatus(LONG status) {
    return status == TRUST_E_NOSIGNATURE || status == TRUST_E_SUBJECT_FORM_UNKNOWN ||
           status == TRUST_E_PROVIDER_UNKNOWN;
}

// The file's hash with the catalogue functions of one generation (SHA-256 from Windows 8,
// SHA-1 before), and the context that looks catalogues up by it.
bool CatalogueHash(HANDLE file, bool sha256, unique_cat_admin& admin, std::vector<BYTE>& hash) {
    const CatalogueFunctions& functions = Catalogue();
    DWORD length = 0;
    Rewind(file);
    if (sha256) {
        if (!functions.acquire2(admin.put(), &kDriverActionVerify, L"SHA256", nullptr, 0) ||
            (functions.calcHash2(admin.get(), file, &length, nullptr, 0), length == 0)) {
            return false;
        }
        hash.resize(length);
        Rewind(file);
        return functions.calcHash2(admin.get(), file, &length, hash.data(), 0) != FALSE;
    }
    if (!::CryptCATAdminAcquireContext(admin.put(), &kDriverActionVerify, 0) ||
        (::CryptCATAdminCalcHashFromFileHandle(file, &length, nullptr, 0), length == 0)) {
        return false;
    }
    hash.resize(length);
    Rewind(file);
    return ::CryptCATAdminCalcHashFromFileHandle(file, &length, hash.data(), 0) != FALSE;
}

// The verdict of the catalogue that lists the file's hash; false when none does.
bool CheckInCatalogue(HANDLE file, const std::wstring& path, bool sha256, SignatureCheck& check) {
    unique_cat_admin admin;
    std::vector<BYTE> hash;
    if (!CatalogueHash(file, sha256, admin, hash)) {
        return false;
    }
    const CatalogueInfo info(
        admin.get(), ::CryptCATAdminEnumCatalogFromHash(
                         admin.get(), hash.data(), static_cast<DWORD>(hash.size()), 0, nullptr));
    CATALOG_INFO catalogue{};
    catalogue.cbStruct = sizeof catalogue;
    if (!info.get() || !::CryptCATCatalogInfoFromContext(info.get(), &catalogue, 0)) {
        return false;
    }
    std::wstring tag;
    for (BYTE b : hash) {
        static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
        tag += kHex[b >> 4];
        tag += kHex[b & 15];
    }
    WINTRUST_CATALOG_INFO member{};
    member.cbStruct = sizeof member;
    member.pcwszCatalogFilePath = catalogue.wszCatalogFile;
    member.pcwszMemberTag = tag.c_str();
    member.pcwszMemberFilePath = path.c_str();
    member.hMemberFile = file;
    member.pbCalculatedFileHash = hash.data();
    member.cbCalculatedFileHash = static_cast<DWORD>(hash.size());
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pCatalog = &member;
    Rewind(file);
    const LONG status = Verify(data, check.signer);
    check.state = status == ERROR_SUCCESS ? SignatureState::Verified : SignatureState::Invalid;
    return true;
}

}  // namespace

SignatureCheck CheckSignature(HANDLE file, const std::wstring& path) {
    SignatureCheck check;
    WINTRUST_FILE_INFO embedded{};
    embedded.cbStruct = sizeof embedded;
    embedded.pcwszFilePath = path.c_str();
    embedded.hFile = file;
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &embedded;
    Rewind(file);
    const LONG status = Verify(data, check.signer);
    if (status == ERROR_SUCCESS) {
        check.state = SignatureState::Verified;
        return check;
    }
    if (!IsUnsignedStatus(status)) {
        check.state = SignatureState::Invalid;
        return check;
    }
    // No signature of its own: system files are signed through a catalogue.
    if ((Catalogue().acquire2 && CheckInCatalogue(file, path, true, check)) ||
        CheckInCatalogue(file, path, false, check)) {
        return check;
    }
    check.state = SignatureState::Unsigned;
    return check;
}

}  // namespace publisher
