#include "TestCertificates.h"

#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>

namespace korvex::stub {
namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

bool addExtension(X509 *certificate, X509V3_CTX *context, int nid, const char *value)
{
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, context, nid, value);
    if (!extension)
        return false;
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

// Self-signed when issuer is null.
Certificate makeCertificate(
    EVP_PKEY *key, const char *commonName, const char *altNames, X509 *issuer, EVP_PKEY *issuerKey, long serial)
{
    Certificate c(X509_new(), X509_free);
    if (!c)
        return c;
    X509 *x = c.get();
    X509_set_version(x, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x), serial);
    X509_gmtime_adj(X509_getm_notBefore(x), -3600);
    X509_gmtime_adj(X509_getm_notAfter(x), 24 * 3600);
    X509_set_pubkey(x, key);
    X509_NAME *name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>(commonName), -1,
                               -1, 0);
    X509_set_issuer_name(x, issuer ? X509_get_subject_name(issuer) : name);

    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer ? issuer : x, x, nullptr, nullptr, 0);
    bool ok = true;
    if (issuer) {
        ok = addExtension(x, &context, NID_basic_constraints, "critical,CA:FALSE")
            && addExtension(x, &context, NID_key_usage, "critical,digitalSignature")
            && addExtension(x, &context, NID_ext_key_usage, "serverAuth")
            && addExtension(x, &context, NID_subject_alt_name, altNames)
            && addExtension(x, &context, NID_authority_key_identifier, "keyid:always");
    } else {
        ok = addExtension(x, &context, NID_basic_constraints, "critical,CA:TRUE")
            && addExtension(x, &context, NID_key_usage, "critical,keyCertSign,cRLSign")
            && addExtension(x, &context, NID_subject_key_identifier, "hash");
    }
    if (!ok || X509_sign(x, issuer ? issuerKey : key, EVP_sha256()) == 0)
        c.reset();
    return c;
}

bool writePem(const QString &path, X509 *certificate, EVP_PKEY *key)
{
    BIO *file = BIO_new_file(QFile::encodeName(path).constData(), "w");
    if (!file)
        return false;
    const bool ok = certificate ? PEM_write_bio_X509(file, certificate) == 1
                                : PEM_write_bio_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    BIO_free(file);
    return ok;
}

} // namespace

TestCertificates::TestCertificates(const QString &folder)
    : m_folder(folder)
{
    const Key caKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    const Key serverKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
    if (!caKey || !serverKey)
        return;
    const Certificate ca = makeCertificate(caKey.get(), "Korvex test authority", nullptr, nullptr, nullptr, 1);
    if (!ca)
        return;
    const Certificate server
        = makeCertificate(serverKey.get(), "127.0.0.1", "IP:127.0.0.1,DNS:localhost", ca.get(), caKey.get(), 2);
    const Certificate elsewhere
        = makeCertificate(serverKey.get(), "portal.example", "DNS:portal.example", ca.get(), caKey.get(), 3);
    m_valid = server && elsewhere && writePem(authority(), ca.get(), nullptr)
        && writePem(certificate(), server.get(), nullptr) && writePem(wrongHostCertificate(), elsewhere.get(), nullptr)
        && writePem(key(), nullptr, serverKey.get());
}

} // namespace korvex::stub
