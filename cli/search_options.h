// The options of kestrix-cli search, for one query or a batch of them.
#pragma once

#include <optional>
#include <string>

#include "cli/word_list.h"
#include "search/match/match_mode.h"
#include "search/store/keyword_store.h"

namespace kx::cli {

struct SearchOptions {
  std::string dataDir;
  KeywordCategory category = KeywordCategory::ProductWords;
  int letter = kAllIndex;
  MatchMode mode = MatchMode::MatchLeft;
  std::string output;
  bool count = false;
  int threads = 0;  // every core
  bool haveQuery = false;
  std::string query;         // GBK
  std::string queriesFile;   // a batch: one query a line
  std::string excludeFile;   // words a keyword must not hold
  std::string splitDir;      // a batch: one export file per query
  ListEncoding encoding = ListEncoding::Utf8;
};

// Reads the options of argv (the arguments after "search"); returns an exit
// code when the command must end now (help shown or a usage error).
std::optional<int> parseSearchOptions(int argc, char** argv, SearchOptions& o);

}  // namespace kx::cli
