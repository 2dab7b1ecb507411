#include "platform/aes_ctr.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstring>
#include <random>
#include <string>

namespace kx {
namespace {

// OpenSSL's AES-256-CTR keystream: the first n bytes of the stream from nonce.
std::string openSslKeystream(const unsigned char key[32], const unsigned char nonce[16], std::size_t n) {
  std::string out(n, '\0');
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  int len = 0;
  EXPECT_EQ(EVP_EncryptInit_ex(ctx, EVP_aes_256_ctr(), nullptr, key, nonce), 1);
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  EXPECT_EQ(EVP_EncryptUpdate(ctx, p, &len, p, static_cast<int>(n)), 1);
  EVP_CIPHER_CTX_free(ctx);
  return out;
}

// Every start offset 0..100 within the stream, lengths that end anywhere in
// the kernel's widths, and nonces whose low 64 bits (or all 128) are a few
// blocks short of wrapping, so the carry falls inside the range; one key
// schedule object re-keyed each time.
TEST(AesCtr, XorsTheKeystreamOpenSslMakes) {
  if (!AesCtr::supported()) GTEST_SKIP() << "no vector AES on this processor";
  std::mt19937_64 rng(10);
  AesCtr aes;
  for (int trial = 0; trial < 303; ++trial) {
    unsigned char key[32], nonce[16];
    for (auto& b : key) b = static_cast<unsigned char>(rng());
    for (auto& b : nonce) b = static_cast<unsigned char>(rng());
    if (trial % 3 > 0) {
      std::memset(nonce + (trial % 3 == 1 ? 8 : 0), 0xFF, trial % 3 == 1 ? 8 : 16);
      nonce[15] = static_cast<unsigned char>(0xFF - rng() % 8);
    }
    const std::size_t pos = trial % 101;
    const std::size_t n = trial >= 297 ? (1 << 20) + rng() % 100 : rng() % (trial % 4 ? 5000 : 40);
    std::string data(n + 16, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    std::string want = data;
    const std::string stream = openSslKeystream(key, nonce, pos + n);
    for (std::size_t i = 0; i < n; ++i) want[i] ^= stream[pos + i];

    aes.setKey(key);
    aes.apply(nonce, pos, reinterpret_cast<unsigned char*>(data.data()), n);
    ASSERT_EQ(data, want) << "trial " << trial << ", offset " << pos << ", length " << n;  // the 16 after n untouched
  }
}

}  // namespace
}  // namespace kx
