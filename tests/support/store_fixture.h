// Small keyword stores for tests, written with the store's own cipher.
#pragma once

#include <string>
#include <vector>

#include "platform/cipher_file.h"
#include "platform/file_util.h"
#include "platform/store_password.h"
#include "search/store/keyword_store.h"

namespace kx::test {

// Writes runDir/<category>/<letter>.txt holding exactly bytes, enciphered.
inline void writeLetterFile(const std::string& runDir, KeywordCategory category, int index, std::string_view bytes) {
  const std::string folder = joinPath(runDir, categoryFolder(category));
  makeFolders(folder);
  CipherWriter w;
  w.create(joinPath(folder, letterIndexName(index) + ".txt"), storePassword());
  w.append(bytes);
  w.finish();
}

// Keywords joined with CR LF after each, the letter files' own format.
inline std::string lines(const std::vector<std::string>& keywords) {
  std::string out;
  for (const auto& k : keywords) out += k + "\r\n";
  return out;
}

}  // namespace kx::test
