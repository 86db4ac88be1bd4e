// Paths between the operating system and the system's own text. Paths are
// kept as the operating system takes them (UTF-8 bytes here); everything
// shown to the user or written into the line list is CP932.
#pragma once

#include <string>
#include <string_view>

// The part of the path after its last "/" (the whole path when it has none).
std::string PathNamePart(std::string_view path);

// The part of the path up to and including its last "/" ("" when it has none).
std::string PathFolderPart(std::string_view path);

// A path as CP932 text: converted when it is valid UTF-8, kept byte for byte
// otherwise (so a name that is already CP932 stays as it is).
std::string PathToCp932(std::string_view path);

// CP932 text (a name written in a source) as a path for the operating
// system. Pure ASCII stays as it is.
std::string Cp932ToPath(std::string_view text);
