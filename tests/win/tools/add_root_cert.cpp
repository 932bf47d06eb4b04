// Test helper: trusts a certificate authority in the local machine's Root
// store of the Wine prefix it runs in, so that WinINet accepts a test
// server's certificate there and nowhere else. (Wine 8 keeps additions to
// this store but not deletions, so the test makes its CA once per prefix.)
// Usage: add-root-cert CA.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: add-root-cert CA.der\n");
        return 2;
    }
    FILE* file = std::fopen(argv[1], "rb");
    if (!file) {
        std::fprintf(stderr, "add-root-cert: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> der;
    unsigned char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) der.insert(der.end(), chunk, chunk + n);
    std::fclose(file);

    PCCERT_CONTEXT cert = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), DWORD(der.size()));
    if (!cert) {
        std::fprintf(stderr, "add-root-cert: %s is no DER certificate\n", argv[1]);
        return 1;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) {
        std::fprintf(stderr, "add-root-cert: cannot open the Root store (%lu)\n", GetLastError());
        CertFreeCertificateContext(cert);
        return 1;
    }
    BOOL added = CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD error = GetLastError();
    CertCloseStore(store, 0);
    CertFreeCertificateContext(cert);
    if (!added) {
        std::fprintf(stderr, "add-root-cert: not added (%lu)\n", error);
        return 1;
    }
    std::printf("add-root-cert: trusted\n");
    return 0;
}
