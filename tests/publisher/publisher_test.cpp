// Who made a startup entry's program, on copies of a sample program in Program Files: signed
// by a test certificate authority that the prefix trusts, the same with one byte changed, and
// unsigned, and one copy in the 64-bit System32. Commands name them quoted, unquoted, through
// %ProgramFiles%, through rundll32, by a bare name and through a shortcut.
#include "publisher/publisher.h"

#include "publisher/folder_listings.h"
#include "engine/shortcut.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>

namespace {

using publisher::SignatureState;

constexpr char kSigner[] = "Velbrook Test Signer";
// The sample carries the product's version resource.
constexpr char kCompany[] = "Velbrook";
constexpr char kDescription[] = "Velbrook publisher sample";

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Samples() { return OwnFolder() + "samples\\"; }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The 64-bit programs' folder, which "%ProgramFiles%" means to the shell that starts entries.
std::string NativeProgramFiles() {
    char folder[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA("ProgramW6432", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        length = ::GetEnvironmentVariableA("ProgramFiles", folder, MAX_PATH);
    }
    return std::string(folder, length);
}

// Where this process writes into the native System32: a 32-bit process on 64-bit Windows
// would land in SysWOW64 through the System32 path.
std::string NativeSystemFolderForWriting() {
    char windows[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH);
    BOOL wow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow64);
    return std::string(windows, length) + (wow64 ? "\\Sysnative" : "\\System32");
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

class PublisherTest : public ::testing::Test {
protected:
    void SetUp() override {
        TrustTestAuthority();
        folder_ = NativeProgramFiles() + "\\Velbrook Test";
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        for (const auto& [from, to] :
             {std::pair{"signed.exe", "signed.exe"}, std::pair{"signed.exe", "signed.dll"},
              std::pair{"signed.exe", "cached.exe"}, std::pair{"tampered.exe", "tampered.exe"},
              std::pair{"untrusted.exe", "untrusted.exe"},
              std::pair{"unsigned.exe", "unsigned.exe"}}) {
            const std::string target = folder_ + "\\" + to;
            ASSERT_TRUE(::CopyFileA((Samples() + from).c_str(), target.c_str(), FALSE)) << target;
        }
        ::DeleteFileA((folder_ + "\\missing.exe").c_str());
        // Only in the 64-bit System32, which the 32-bit build sees through Sysnative only.
        const std::string native = NativeSystemFolderForWriting() + "\\velbrook-signed.exe";
        ASSERT_TRUE(::CopyFileA((Samples() + "signed.exe").c_str(), native.c_str(), FALSE));
    }

    // The test authority in the machine's trusted roots (adding it again changes nothing).
    static void TrustTestAuthority() {
        const std::string der = ReadBytes(Samples() + "test-ca.cer");
        ASSERT_FALSE(der.empty());
        HCERTSTORE root = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                          CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
        ASSERT_NE(root, nullptr) << ::GetLastError();
        EXPECT_TRUE(::CertAddEncodedCertificateToStore(
            root, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
            static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr))
            << ::GetLastError();
        ::CertCloseStore(root, 0);
    }

    std::string folder_;
    std::string windows_ = [] {
        char folder[MAX_PATH];
        return std::string(folder, ::GetWindowsDirectoryA(folder, MAX_PATH));
    }();
};

TEST_F(PublisherTest, FindsAndVerifiesTheFileEachCommandStarts) {
    struct Case {
        const char* command;  // F stands for the samples' folder below Program Files
        const char* file;
        SignatureState signature;
        const char* column;
    };
    const std::string claimed = std::string(kCompany) + " (not verified)";
    const Case cases[] = {
        {"\"F\\signed.exe\" /background", "F\\signed.exe", SignatureState::Verified, kSigner},
        {"F\\signed.exe -min", "F\\signed.exe", SignatureState::Verified, kSigner},
        {"%ProgramFiles%\\Velbrook Test\\signed", "F\\signed.exe", SignatureState::Verified,
         kSigner},
        {"rundll32.exe \"F\\signed.dll\",Entry 1", "F\\signed.dll", SignatureState::Verified,
         kSigner},
        {"F\\tampered.exe", "F\\tampered.exe", SignatureState::Invalid, claimed.c_str()},
        // Wine 8.0 differs: its WinVerifyTrust answers success for a root nobody trusts (it
        // only marks the certificate with CERT_E_UNTRUSTEDROOT); Windows answers that error.
        // The program reads the chain's certificates too, so both end here as invalid.
        {"F\\untrusted.exe", "F\\untrusted.exe", SignatureState::Invalid, claimed.c_str()},
        {"\"F\\unsigned.exe\"", "F\\unsigned.exe", SignatureState::Unsigned, claimed.c_str()},
        {"\"F\\Signed.EXE\" /x", "F\\Signed.EXE", SignatureState::Verified, kSigner},
        {"F\\missing.exe /tray", "F\\missing.exe", SignatureState::NotFound, ""},
        {"%SystemRoot%\\System32\\velbrook-signed.exe /x", "W\\System32\\velbrook-signed.exe",
         SignatureState::Verified, kSigner},
        {"velbrook-signed -x", "W\\system32\\velbrook-signed.exe", SignatureState::Verified,
         kSigner},
    };
    // A list's fill answers from one listing of each folder: the same files, found or not.
    const publisher::FolderListingLookups listings;
    for (const Case& c : cases) {
        std::string command = c.command, file = c.file;
        Replace(command, "F\\", folder_ + "\\");
        Replace(file, "F\\", folder_ + "\\");
        Replace(file, "W\\", windows_ + "\\");
        const publisher::Publisher found = publisher::PublisherOfCommand(command);
        EXPECT_EQ(found.file, file) << command;
        EXPECT_EQ(found.signature, c.signature)
            << command << ": " << publisher::SignatureName(found.signature);
        EXPECT_EQ(publisher::PublisherText(found), c.column) << command;
        EXPECT_EQ(found.signer, c.signature == SignatureState::Verified ? kSigner : "") << command;
        const bool exists = c.signature != SignatureState::NotFound;
        EXPECT_EQ(found.company, exists ? kCompany : "") << command;
        EXPECT_EQ(found.description, exists ? kDescription : "") << command;
        const publisher::Publisher listed = publisher::PublisherOfCommand(command, listings);
        EXPECT_EQ(listed.file, file) << command;
        EXPECT_EQ(listed.signature, c.signature) << command;
    }
}

TEST_F(PublisherTest, AShortcutLeadsToItsTarget) {
    const std::string link =
        testing_support::CreateShortcut(folder_, "Sample.lnk", folder_ + "\\signed.exe", "-min /x");
    const publisher::Publisher found =
        publisher::PublisherOfCommand(engine::ResolveShortcutCommand(link));
    EXPECT_EQ(found.file, folder_ + "\\signed.exe");
    EXPECT_EQ(found.signature, SignatureState::Verified);
    EXPECT_EQ(found.signer, kSigner);
}

TEST_F(PublisherTest, AChangedFileIsCheckedAgain) {
    const std::string path = folder_ + "\\cached.exe";
    ASSERT_EQ(publisher::PublisherOfCommand(path).signature, SignatureState::Verified);
    // The same size, one byte changed, a later write time: not the answer kept for the path.
    const std::string tampered = ReadBytes(Samples() + "tampered.exe");
    ASSERT_EQ(tampered.size(), ReadBytes(path).size());
    testing_support::WriteFile(path, tampered);
    // Explicitly later, whatever the clock's resolution.
    HANDLE file =
        ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME later{};
    ::GetSystemTimeAsFileTime(&later);
    later.dwHighDateTime += 1;
    ::SetFileTime(file, nullptr, nullptr, &later);
    ::CloseHandle(file);
    EXPECT_EQ(publisher::PublisherOfCommand(path).signature, SignatureState::Invalid);
}

}  // namespace
