#include "platform/crypto_library.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace kx {
namespace {

const EVP_MD* fetchDigest(const char* name) {
  initCryptoLibrary();
  return EVP_MD_fetch(nullptr, name, nullptr);  // kept for the life of the process
}

}  // namespace

void initCryptoLibrary() {
  static const bool done =
      OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG | OPENSSL_INIT_NO_LOAD_CRYPTO_STRINGS, nullptr) == 1;
  (void)done;
}

const EVP_MD* sha256Method() {
  static const EVP_MD* md = fetchDigest("SHA256");
  return md;
}

const EVP_MD* md5Method() {
  static const EVP_MD* md = fetchDigest("MD5");
  return md;
}

const EVP_MD* sha1Method() {
  static const EVP_MD* md = fetchDigest("SHA1");
  return md;
}

const EVP_CIPHER* aes256CtrMethod() {
  static const EVP_CIPHER* cipher = (initCryptoLibrary(), EVP_CIPHER_fetch(nullptr, "AES-256-CTR", nullptr));
  return cipher;
}

}  // namespace kx
