// The enciphered-file facility: a seekable container that, opened with a
// password, reads like a plain file.
//
// Layout (little-endian), 48-byte header then the enciphered content:
//   0  "KXCF"            magic
//   4  u8 version (1), 3 bytes zero
//   8  16-byte nonce     initial AES-256-CTR counter block
//  24  u64 plain length  bytes of content that follow the header
//  32  16-byte key check first 16 bytes of SHA-256("kxcf-check" key nonce)
// The key is SHA-256 of the password. Content byte i is enciphered with the
// keystream of counter block nonce + i / 16 (128-bit big-endian addition), so
// any position can be read without reading what lies before it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/aes_ctr.h"
#include "platform/native_file.h"

struct evp_cipher_ctx_st;  // OpenSSL's EVP_CIPHER_CTX

namespace kx {

inline constexpr std::size_t kCipherHeaderSize = 48;

// How containers are deciphered: OpenSSL's generic keystream, or our own on
// the processor's vector AES instructions (AesCtr), several times faster.
enum class CipherPath { OpenSsl, VectorAes };

// The path reads take: VectorAes where AesCtr::supported(), unless
// forceCipherPath chose another.
CipherPath cipherPath();

// Makes reads take path from now on, so tests can run both on the same
// files. Returns false, changing nothing, when the processor lacks it. Not
// for use while reads run on other threads.
bool forceCipherPath(CipherPath path);

// Reads a container. Not copyable; one read position per object.
class CipherFile {
 public:
  CipherFile();
  ~CipherFile();
  CipherFile(const CipherFile&) = delete;
  CipherFile& operator=(const CipherFile&) = delete;

  // Opens path with password. Returns false, and stays closed, when the file
  // is missing or unreadable, its header is not one of ours, the password
  // does not fit, or the file is shorter than its header promises.
  bool open(const std::string& path, std::string_view password);
  void close();
  bool isOpen() const { return file_.isOpen(); }

  // Plain length and read position, in plain bytes; 0 when closed.
  std::uint64_t length() const { return length_; }
  std::uint64_t position() const { return position_; }

  // Moves the read position; a position past the end reads nothing.
  void seek(std::uint64_t pos) { position_ = pos; }

  // Reads up to n plain bytes from the position into out and advances it.
  // Returns the number of bytes read: 0 at the end, when closed, or on an
  // I/O error (the position then stays where it was).
  std::size_t read(char* out, std::size_t n);

  // A keystream of its own, so that several threads can read one file at
  // once, each through its own cursor. Not shared between threads.
  class Cursor {
   public:
    Cursor();
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

   private:
    friend class CipherFile;
    // Each path's state is made on its first read: a store keeps a cursor
    // for each of its files, most of which a search never reads.
    ::evp_cipher_ctx_st* ctx_ = nullptr;
    bool keyed_ = false;                    // whether the context holds key_ and nonce_
    unsigned char key_[32] = {};            // of the file last read through this cursor
    unsigned char nonce_[16] = {};
    std::uint64_t streamPos_ = UINT64_MAX;  // where the context stands
    std::unique_ptr<AesCtr> aes_;           // the vector path's key schedule, of aesKey_
    unsigned char aesKey_[32] = {};
  };

  // Reads up to n plain bytes at plain offset pos into out, deciphering them
  // in place, without touching the read position. Returns the bytes read: 0
  // past the end, when closed, or on an I/O error. Safe to call from several
  // threads at once with different cursors.
  std::size_t readAt(std::uint64_t pos, char* out, std::size_t n, Cursor& cursor) const;

 private:
  NativeFile file_;
  std::uint64_t length_ = 0;
  std::uint64_t position_ = 0;
  unsigned char key_[32] = {};
  unsigned char nonce_[16] = {};
  Cursor cursor_;  // the read position's keystream
};

// Writes a container from a stream of plain bytes.
class CipherWriter {
 public:
  CipherWriter();
  ~CipherWriter();
  CipherWriter(const CipherWriter&) = delete;
  CipherWriter& operator=(const CipherWriter&) = delete;

  // Creates (or truncates) path and writes a header with a fresh random nonce.
  // Returns false with errno set when the file cannot be created.
  bool create(const std::string& path, std::string_view password);

  // Enciphers and appends data. Returns false on a write error.
  bool append(std::string_view data);

  // Writes the final length into the header and closes the file. Returns
  // false on a write error; the file is then not a valid container.
  bool finish();

 private:
  NativeFile file_;
  std::uint64_t length_ = 0;
  bool ok_ = true;
  ::evp_cipher_ctx_st* ctx_ = nullptr;
};

}  // namespace kx
