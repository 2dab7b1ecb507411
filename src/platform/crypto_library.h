// The crypto library as this program uses it.
#pragma once

#include <openssl/types.h>

#include <cstddef>

namespace kx {

// Sets the library up once, before its first use: without its configuration
// file (which could load modules into the process and costs every start a
// file read) and without its error texts, which nothing here shows.
void initCryptoLibrary();

// One-shot digests of data into out (32, 16 and 20 bytes). They use the
// library's plain digest functions, which need none of its set-up: fetching
// a method through the provider layer first builds its tables of names and
// algorithms, about a millisecond and a hundred fresh pages at every start.
void sha256Digest(const void* data, std::size_t n, unsigned char out[32]);
void md5Digest(const void* data, std::size_t n, unsigned char out[16]);
void sha1Digest(const void* data, std::size_t n, unsigned char out[20]);

// AES-256 in counter mode, looked up once likewise.
const EVP_CIPHER* aes256CtrMethod();

}  // namespace kx
