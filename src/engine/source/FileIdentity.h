#pragma once
// What identifies one version of one media file for the files kept about it
// in the cache folder (its index, its preview proxy): the absolute path, size
// and time of last change, and the FFMS2 version that reads it. A changed
// file has a new identity, so what was kept about the old one is not found.

#include <filesystem>
#include <string>

namespace vistrel::engine {

// The identity text of the file at path (UTF-8). Throws
// std::filesystem::filesystem_error when the file cannot be looked at.
std::string fileIdentity(const std::string& path);

// A short file name stem for an identity text: 16 hex digits of its hash.
std::string identityStem(const std::string& identity);

}  // namespace vistrel::engine
