// Whole-file reading and crash-safe writing. Paths are byte strings as the
// operating system takes them (UTF-8 on Linux). Error texts are CP932 and
// name the file and the system's reason. Nothing here throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads the whole file into bytes. Only plain files are read: a folder, a
// device, a pipe or a socket fails without being read (a device may never
// end, a pipe never deliver). On failure returns false, leaves bytes empty
// and sets error.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes bytes to a new temporary file in the target's folder, flushes it to
// disk and renames it over path, so the target holds either its old or its
// new contents, never a part. An existing target's permissions are kept; a
// symbolic link is written through to the file it names. On failure the
// temporary file is removed, the target is untouched, and error is set.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Whether path names something that exists and is not a folder.
bool FileExists(const std::string& path);

// The size in bytes of the file at path, or -1 when there is no such file
// (or it is a folder).
int64_t FileSize(const std::string& path);
