#include "platform/cipher_file.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstring>
#include <vector>

#include "platform/crypto_library.h"

namespace kx {
namespace {

constexpr unsigned char kMagic[4] = {'K', 'X', 'C', 'F'};
constexpr unsigned char kVersion = 1;

void deriveKey(std::string_view password, unsigned char key[32]) { sha256Digest(password.data(), password.size(), key); }

void keyCheck(const unsigned char key[32], const unsigned char nonce[16], unsigned char out[16]) {
  unsigned char buf[10 + 32 + 16];
  std::memcpy(buf, "kxcf-check", 10);
  std::memcpy(buf + 10, key, 32);
  std::memcpy(buf + 42, nonce, 16);
  unsigned char digest[32];
  sha256Digest(buf, sizeof buf, digest);
  std::memcpy(out, digest, 16);
}

// counter = nonce + blocks, as a 128-bit big-endian number.
void counterAt(const unsigned char nonce[16], std::uint64_t blocks, unsigned char out[16]) {
  std::memcpy(out, nonce, 16);
  unsigned int carry = 0;
  for (int i = 15; i >= 0; --i) {
    unsigned int sum = out[i] + static_cast<unsigned int>(blocks & 0xFF) + carry;
    out[i] = static_cast<unsigned char>(sum);
    carry = sum >> 8;
    blocks >>= 8;
  }
}

void putU64(unsigned char* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint64_t getU64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

CipherPath& activePath() {
  static CipherPath path = AesCtr::supported() ? CipherPath::VectorAes : CipherPath::OpenSsl;
  return path;
}

}  // namespace

CipherPath cipherPath() { return activePath(); }

bool forceCipherPath(CipherPath path) {
  if (path == CipherPath::VectorAes && !AesCtr::supported()) return false;
  activePath() = path;
  return true;
}

CipherFile::Cursor::Cursor() = default;

CipherFile::Cursor::~Cursor() { EVP_CIPHER_CTX_free(ctx_); }

CipherFile::CipherFile() = default;

CipherFile::~CipherFile() { close(); }

bool CipherFile::open(const std::string& path, std::string_view password) {
  close();
  NativeFile file;
  if (!file.open(path, NativeFile::Access::Read)) return false;
  unsigned char header[kCipherHeaderSize];
  std::uint64_t fileSize = 0;
  bool ok = file.size(fileSize) && file.readFullyAt(0, header, sizeof header) &&
            std::memcmp(header, kMagic, 4) == 0 && header[4] == kVersion;
  std::uint64_t length = ok ? getU64(header + 24) : 0;
  if (ok) {
    std::memcpy(nonce_, header + 8, 16);
    deriveKey(password, key_);
    unsigned char check[16];
    keyCheck(key_, nonce_, check);
    ok = std::memcmp(check, header + 32, 16) == 0 &&
         fileSize >= kCipherHeaderSize && fileSize - kCipherHeaderSize >= length;
  }
  if (!ok) {
    std::memset(key_, 0, sizeof key_);
    return false;
  }
  file_ = std::move(file);
  length_ = length;
  position_ = 0;
  return true;
}

void CipherFile::close() {
  file_.close();
  length_ = 0;
  position_ = 0;
  cursor_.keyed_ = false;
}

std::size_t CipherFile::read(char* out, std::size_t n) {
  const std::size_t got = readAt(position_, out, n, cursor_);
  position_ += got;
  return got;
}

std::size_t CipherFile::readAt(std::uint64_t pos, char* out, std::size_t n, Cursor& cursor) const {
  if (!file_.isOpen() || pos >= length_ || n == 0) return 0;
  std::uint64_t left = length_ - pos;
  if (n > left) n = static_cast<std::size_t>(left);
  auto* p = reinterpret_cast<unsigned char*>(out);
  if (!file_.readFullyAt(kCipherHeaderSize + pos, p, n)) return 0;
  if (activePath() == CipherPath::VectorAes) {
    if (!cursor.aes_ || std::memcmp(cursor.aesKey_, key_, sizeof key_) != 0) {
      if (!cursor.aes_) cursor.aes_ = std::make_unique<AesCtr>();
      cursor.aes_->setKey(key_);
      std::memcpy(cursor.aesKey_, key_, sizeof key_);
    }
    cursor.aes_->apply(nonce_, pos, p, n);
    return n;
  }
  if (!cursor.ctx_ && !(cursor.ctx_ = (initCryptoLibrary(), EVP_CIPHER_CTX_new()))) return 0;
  const bool sameKey = cursor.keyed_ && std::memcmp(cursor.key_, key_, sizeof key_) == 0 &&
                       std::memcmp(cursor.nonce_, nonce_, sizeof nonce_) == 0;
  if (!sameKey || cursor.streamPos_ != pos) {
    unsigned char iv[16];
    counterAt(nonce_, pos / 16, iv);
    // A jump within the same file only sets the counter; the key schedule stays.
    cursor.keyed_ = false;
    if (EVP_EncryptInit_ex(cursor.ctx_, sameKey ? nullptr : aes256CtrMethod(), nullptr, sameKey ? nullptr : key_,
                           iv) != 1)
      return 0;
    // Step into the block so that the next byte enciphered is byte pos.
    unsigned char skip[16] = {};
    int outLen = 0;
    if (pos % 16 && EVP_EncryptUpdate(cursor.ctx_, skip, &outLen, skip, static_cast<int>(pos % 16)) != 1) return 0;
    std::memcpy(cursor.key_, key_, sizeof key_);
    std::memcpy(cursor.nonce_, nonce_, sizeof nonce_);
    cursor.keyed_ = true;
  }
  // CTR is its own inverse; OpenSSL allows the update in place.
  std::size_t done = 0;
  while (done < n) {
    int chunk = static_cast<int>(std::min<std::size_t>(n - done, 1 << 30));
    int outLen = 0;
    if (EVP_EncryptUpdate(cursor.ctx_, p + done, &outLen, p + done, chunk) != 1) {
      cursor.keyed_ = false;
      return 0;
    }
    done += static_cast<std::size_t>(chunk);
  }
  cursor.streamPos_ = pos + n;
  return n;
}

CipherWriter::CipherWriter() : ctx_((initCryptoLibrary(), EVP_CIPHER_CTX_new())) {}

CipherWriter::~CipherWriter() { EVP_CIPHER_CTX_free(ctx_); }

bool CipherWriter::create(const std::string& path, std::string_view password) {
  if (!file_.open(path, NativeFile::Access::CreateTruncate) || !ctx_) return false;
  unsigned char key[32], nonce[16];
  deriveKey(password, key);
  if (RAND_bytes(nonce, sizeof nonce) != 1) return false;
  unsigned char header[kCipherHeaderSize] = {};
  std::memcpy(header, kMagic, 4);
  header[4] = kVersion;
  std::memcpy(header + 8, nonce, 16);
  keyCheck(key, nonce, header + 32);
  length_ = 0;
  ok_ = EVP_EncryptInit_ex(ctx_, aes256CtrMethod(), nullptr, key, nonce) == 1;
  return ok_ = ok_ && file_.writeAt(0, header, sizeof header);
}

bool CipherWriter::append(std::string_view data) {
  if (!file_.isOpen() || !ok_) return false;
  std::vector<unsigned char> buf(std::min<std::size_t>(data.size(), 1 << 20));
  const auto* in = reinterpret_cast<const unsigned char*>(data.data());
  for (std::size_t done = 0; done < data.size();) {
    std::size_t chunk = std::min(buf.size(), data.size() - done);
    int outLen = 0;
    if (EVP_EncryptUpdate(ctx_, buf.data(), &outLen, in + done, static_cast<int>(chunk)) != 1) return ok_ = false;
    if (!file_.writeAt(kCipherHeaderSize + length_ + done, buf.data(), chunk)) return ok_ = false;
    done += chunk;
  }
  length_ += data.size();
  return true;
}

bool CipherWriter::finish() {
  if (!file_.isOpen()) return false;
  unsigned char len[8];
  putU64(len, length_);
  bool ok = ok_ && file_.writeAt(24, len, 8);
  return file_.close() && ok;
}

}  // namespace kx
