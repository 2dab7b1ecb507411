// The crypto library as this program uses it.
#pragma once

#include <openssl/types.h>

namespace kx {

// Sets the library up once, before its first use: without its configuration
// file (which could load modules into the process and costs every start a
// file read) and without its error texts, which nothing here shows.
void initCryptoLibrary();

// The digest implementations, looked up once rather than at every call
// (null if the library lacks one).
const EVP_MD* sha256Method();
const EVP_MD* md5Method();
const EVP_MD* sha1Method();

// AES-256 in counter mode, looked up once likewise.
const EVP_CIPHER* aes256CtrMethod();

}  // namespace kx
