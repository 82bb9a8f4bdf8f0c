#pragma once
// What identifies one version of one media file for the files kept about it
// in the cache folder (its index, its preview proxy).
//
// fileIdentity is the absolute path, size and time of last change, and the
// FFMS2 version that reads it: a changed file has a new identity, so what was
// kept about the old one is not found. It names the kept files, and costs a
// look at the folder. It cannot tell a file from another recording of the
// same length copied over it with its time kept (cp -p, rsync -t): the index
// does not need it to, as FFMS2 checks the contents the index was made from;
// what is kept without such a check (the preview proxy) carries
// contentsIdentity, which adds a digest of the contents.

#include <filesystem>
#include <string>

namespace vistrel::engine {

// The identity text of the file at path (UTF-8). Throws
// std::filesystem::filesystem_error when the file cannot be looked at.
std::string fileIdentity(const std::string& path);

// fileIdentity and a digest of the file's size and of its first and last
// MiB (which a different recording does not share: they hold its container
// header, first pictures and last pictures or index). Reads at most 2 MiB.
// Throws std::filesystem::filesystem_error when the file cannot be read.
std::string contentsIdentity(const std::string& path);

// A short file name stem for an identity text: 16 hex digits of its hash.
std::string identityStem(const std::string& identity);

}  // namespace vistrel::engine
