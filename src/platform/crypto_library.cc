// The plain digest functions are marked deprecated in favour of the provider
// layer, which costs every start of the program its set-up (see the header).
#define OPENSSL_SUPPRESS_DEPRECATED
#include "platform/crypto_library.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/md5.h>
#include <openssl/sha.h>

namespace kx {

void initCryptoLibrary() {
  static const bool done =
      OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG | OPENSSL_INIT_NO_LOAD_CRYPTO_STRINGS, nullptr) == 1;
  (void)done;
}

void sha256Digest(const void* data, std::size_t n, unsigned char out[32]) {
  SHA256_CTX ctx;
  SHA256_Init(&ctx);
  SHA256_Update(&ctx, data, n);
  SHA256_Final(out, &ctx);
}

void md5Digest(const void* data, std::size_t n, unsigned char out[16]) {
  MD5_CTX ctx;
  MD5_Init(&ctx);
  MD5_Update(&ctx, data, n);
  MD5_Final(out, &ctx);
}

void sha1Digest(const void* data, std::size_t n, unsigned char out[20]) {
  SHA_CTX ctx;
  SHA1_Init(&ctx);
  SHA1_Update(&ctx, data, n);
  SHA1_Final(out, &ctx);
}

const EVP_CIPHER* aes256CtrMethod() {
  static const EVP_CIPHER* cipher = (initCryptoLibrary(), EVP_CIPHER_fetch(nullptr, "AES-256-CTR", nullptr));
  return cipher;
}

}  // namespace kx
