// Whole-file reads and writes, folders and path pieces. Paths are UTF-8 and
// use the platform's separator ("/" on Linux, "\" on Windows).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kx {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name.
std::string joinPath(std::string_view folder, std::string_view name);

// Everything before the last separator of path (empty when it has none). On
// Windows "/" counts as a separator too.
std::string_view parentFolder(std::string_view path);

// Everything after the last separator of path (the whole path when it has
// none).
std::string_view fileName(std::string_view path);

// Reads the whole file into out. Returns true only when the file was opened
// and read to its end; out is left unchanged on failure. Takes no lock: other
// processes may hold the file for writing.
bool readWholeFile(const std::string& path, std::string& out);

// Creates or replaces path with bytes: they are written to a temporary file
// beside it, which is then renamed over path, so a failed write leaves the
// old file whole. A file that another holder keeps from writers (an open
// settings file, this process's own included) is not touched. Returns true
// when every byte reached the file; false with errno set otherwise.
bool writeFileExclusive(const std::string& path, std::string_view bytes);

// Creates one folder level. Returns true when it exists afterwards.
bool makeFolder(const std::string& path);

// Creates path and every missing folder above it ("/" or the platform's
// separator between levels). Returns true when it exists afterwards.
bool makeFolders(const std::string& path);

// std::fopen for a UTF-8 path (Windows opens through the UTF-16 name).
std::FILE* openStdioFile(const std::string& path, const char* mode);

bool fileExists(const std::string& path);
bool isFolder(const std::string& path);

// The folder of the running executable, without a trailing separator; empty
// when it cannot be found.
std::string executableFolder();

}  // namespace kx
